// Trovecart fuzzing - opening a project archive. Whatever the archive holds, nothing may be written
// outside the temporary folder and nothing may stay in it once the shop is gone.
#include <cstdlib>

#include <QDir>

#include "common/app_error.h"
#include "shop/shop_document.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString archive = WriteInput(data, size, QStringLiteral("project.scp"));
    const QString tempFolder = ScratchFolder() + QStringLiteral("Temp/");
    {
        TShop shop;
        try {
            shop.OpenProject(archive, tempFolder);
            shop.ToXmlText();
        } catch (const EAppError&) {
        }
    }
    const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QStringList expected = {QStringLiteral("Temp"), QStringLiteral("project.scp")};
    if (QDir(ScratchFolder()).entryList(everything, QDir::Name) != expected ||
        !QDir(tempFolder).isEmpty(everything))
        std::abort();
    return 0;
}
