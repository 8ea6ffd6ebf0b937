# Installs the Debian packages VELTA needs to build, test and run, when any
# is missing. Sourced by ./run.sh and ./test.sh.
velta_packages="cmake ninja-build g++ pkg-config qt6-base-dev libeigen3-dev libgtest-dev libgmock-dev
libbenchmark-dev libjpeg-dev fonts-dejavu-core libsuitesparse-dev calculix-ccx
libopenblas0-pthread"

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
}
