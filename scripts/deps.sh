# Installs the Debian packages VELTA needs to build, test and run, when any
# is missing. Sourced by ./run.sh and ./test.sh. clang and its runtime
# libraries build the libFuzzer targets; ccache speeds up repeated builds.
velta_packages="cmake ninja-build g++ pkg-config qt6-base-dev libeigen3-dev libgtest-dev libgmock-dev
libbenchmark-dev libjpeg-dev fonts-dejavu-core locales
libsuitesparse-dev calculix-ccx poppler-utils
libopenblas0-pthread clang libclang-rt-14-dev ccache"
# Locales with a decimal comma: the tests check that files come out the same
# under them as under the C locale.
velta_locales="fr_FR.UTF-8 de_DE.UTF-8"

velta_ensure_packages() {
    local missing=""
    for p in $velta_packages "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $p"
        fi
    done
    if [ -n "$missing" ]; then
        echo "Installing:$missing"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y $missing
    fi
    velta_ensure_locales
}

# Generates the locales of velta_locales that `locale -a` does not list.
velta_ensure_locales() {
    local have wanted="" l
    have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
    for l in $velta_locales; do
        local key
        key=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
        echo "$have" | grep -qx "$key" || wanted="$wanted $l"
    done
    [ -z "$wanted" ] && return 0
    echo "Generating locales:$wanted"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    for l in $wanted; do
        if ! grep -q "^$l UTF-8" /etc/locale.gen 2>/dev/null; then
            echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
        fi
    done
    $sudo locale-gen
}
