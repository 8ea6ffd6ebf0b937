// libFuzzer target: any bytes read as a deck give messages or a reported
// error, never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/shell/Session.h"
#include "forms/DeckReader.h"
#include "model/Numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    velta::ListSink sink;
    velta::FixedPrompter prompter;
    velta::Session s(sink, prompter);
    s.main.tabs = {"calc_0"};
    s.main.tabIndex = 0;
    s.Initialisation();
    bool accepted = true;
    try {
        velta::LectureDonneesBytes(s, accepted, std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const velta::ConversionError&) {
    } catch (const velta::FileReadError&) {
    }
    return 0;
}
