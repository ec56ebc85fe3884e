// Trovecart tests - writes the storefront's catalogue script for a shop document, so that the
// browser tests run the storefront on the data the program itself produces.
#include <cstdio>

#include <QCoreApplication>
#include <QSaveFile>

#include "shop/shop_data_script.h"
#include "shop/shop_document.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: %s SHOP.XML SHOPDATA.JS\n", argv[0]);
        return 2;
    }
    try {
        TShop shop;
        shop.LoadFromFile(arguments.at(1));
        const QByteArray script = ShopDataScript(shop);
        QSaveFile file(arguments.at(2));
        if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size() || !file.commit()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments.at(2)));
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
