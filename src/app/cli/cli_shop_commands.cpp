// Trovecart - info and resave.
#include "cli/cli_shop_commands.h"

#include <cstdio>

#include <QJsonDocument>

#include "cli/shop_json.h"
#include "shop/shop_document.h"

TCliCommand InfoCommand() {
    return {
        QStringLiteral("info"),
        QStringLiteral("Print a shop document as JSON."),
        [](QCommandLineParser& parser) {
            parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A shop.xml document."));
        },
        [](const QCommandLineParser& parser) {
            const QString file = ExpectPositional(parser, 1).at(0);
            TShop shop;
            shop.LoadFromFile(file);
            const QByteArray json = QJsonDocument(ShopToJson(shop)).toJson(QJsonDocument::Indented);
            std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
            return 0;
        },
    };
}

TCliCommand ResaveCommand() {
    return {
        QStringLiteral("resave"),
        QStringLiteral("Load a shop document and write it again in the program's own layout."),
        [](QCommandLineParser& parser) {
            parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("The shop.xml to read."));
            parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("The file to write (may be IN)."));
        },
        [](const QCommandLineParser& parser) {
            const QStringList files = ExpectPositional(parser, 2);
            TShop shop;
            shop.LoadFromFile(files.at(0));
            shop.SaveToFile(files.at(1));
            return 0;
        },
    };
}
