// Trovecart tests - fixtures for workspaces.
#include "shop_fixtures.h"

#include <QImage>

#include "support/run_program.h"
#include "support/test_helpers.h"

QByteArray ShopXml(const QString& id, int userWidth, int userHeight, int winMode, const QString& title) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<shop id=\"%1\">\n"
                          "  <config>\n"
                          "    <title><![CDATA[%2]]></title>\n"
                          "    <dimension width=\"600\" height=\"400\"/>\n"
                          "    <userdimension width=\"%3\" height=\"%4\"/>\n"
                          "    <winmode value=\"%5\"/>\n"
                          "  </config>\n"
                          "  <product>\n"
                          "    <category id=\"1\" name=\"Shirts\">\n"
                          "      <item id=\"1\" type=\"general\"><name><![CDATA[Blue "
                          "shirt]]></name><price>12</price></item>\n"
                          "    </category>\n"
                          "  </product>\n"
                          "</shop>\n")
        .arg(id, title)
        .arg(userWidth)
        .arg(userHeight)
        .arg(winMode)
        .toUtf8();
}

void MakeTemplateFolder(const QString& folder, const QString& id, int userWidth, int userHeight,
                        int winMode) {
    WriteFile(folder + QStringLiteral("shop.xml"),
              ShopXml(id, userWidth, userHeight, winMode, QStringLiteral("My Shop")));
    WriteFile(folder + QStringLiteral("index.swf"), QByteArray("FWS\x09") + id.toUtf8());
    WriteFile(folder + QStringLiteral("skin/colours.txt"), "blue");
    QImage thumb(13, 9, QImage::Format_RGB888);
    thumb.fill(Qt::darkCyan);
    thumb.save(folder + QStringLiteral("Thumb.png"), "PNG");
}

QStringList UnzipNames(const QString& archive) {
    const TProgramResult unzip = RunProgram(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    if (unzip.exitCode != 0)
        return {};
    QStringList names = QString::fromUtf8(unzip.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    names.sort();
    return names;
}
