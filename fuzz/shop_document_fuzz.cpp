// Trovecart fuzzing - the shop document loader. Whatever it accepts must be written and read back
// to the same document.
#include <cstdlib>

#include "common/app_error.h"
#include "shop/shop_document.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString file = WriteInput(data, size, QStringLiteral("shop.xml"));
    TShop shop;
    try {
        shop.LoadFromFile(file);
    } catch (const EAppError&) {
        return 0;
    }
    const QByteArray written = shop.ToXmlText();
    WriteInput(reinterpret_cast<const uint8_t*>(written.constData()), static_cast<size_t>(written.size()),
               QStringLiteral("shop.xml"));
    TShop reread;
    try {
        reread.LoadFromFile(file);
    } catch (const EAppError&) {
        std::abort(); // the program cannot read what it wrote
    }
    if (reread.ToXmlText() != written)
        std::abort(); // a save and a load changed the document
    return 0;
}
