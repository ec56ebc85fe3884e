// Trovecart fuzzing - the template catalogue loader.
#include "shop/template_catalogue.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TThemes themes;
    LoadThemeCatalogue(WriteInput(data, size, QStringLiteral("theme.xml")), themes);
    AllTemplateNames(themes);
    return 0;
}
