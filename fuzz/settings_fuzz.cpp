// Trovecart fuzzing - the program settings loader.
#include "shop/program_data.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TProgramData settings(ScratchFolder(), ScratchFolder(), ScratchFolder());
    settings.LoadSettings(WriteInput(data, size, QStringLiteral("shopconfig.xml")));
    return 0;
}
