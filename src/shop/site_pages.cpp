// Trovecart - the site's HTML pages, the embed code and the plain shop title.
#include <sstream>

#include <pugixml.hpp>

#include "common/app_info.h"
#include "common/file_utils.h"
#include "common/message_service.h"
#include "common/whole_file.h"
#include "shop/shop_document.h"
#include "shop/shop_error.h"
#include "shop/site_build.h"
#include "shop/xml_text.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPlayerCabinet =
    QStringLiteral("http://download.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=9,0,115,0");
const QString kPlayerDownloadPage = QStringLiteral("http://www.adobe.com/go/getflashplayer");

QString PageHead(const QString& plainTitle) {
    return QStringLiteral("<html>") + kCrLf + QStringLiteral("<head>") + kCrLf +
           QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html;  charset=utf-8\">") +
           kCrLf + QStringLiteral("<meta name=\"description\" content=\"\">") + kCrLf +
           QStringLiteral("<meta name=\"keywords\" content=\"\">") + kCrLf +
           // Escaped: a shop name such as "Tom & Jerry's <Best>" must not break the page.
           QStringLiteral("<title>") + plainTitle.toHtmlEscaped() + QStringLiteral("</title>") + kCrLf +
           QStringLiteral("</head>") + kCrLf + QStringLiteral("<body bgcolor=\"#ffffff\" scroll=\"auto\">") +
           kCrLf;
}

QString PageTail() {
    return QStringLiteral("</body>") + kCrLf + QStringLiteral("</html>");
}

void WritePage(const QString& fileName, const QString& page) {
    WriteGeneratedFile(fileName, (page + kCrLf).toUtf8());
}

bool IsMarkedUp(const QString& title) {
    return title.toLower().contains(QStringLiteral("<font size"));
}

void ShowTitleFormatError() {
    MessageService().ShowMessageBox(QStringLiteral("Error in XML format. Please correct it and try again"),
                                    mkError, QStringLiteral("Error In XML Format"), ProgramCaption());
}

bool ParseTitle(const QString& title, pugi::xml_document& document) {
    const std::string text = ToXml(title);
    return document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8) &&
           document.first_child();
}

// Every piece of text below the node, in document order.
QString TextContent(const pugi::xml_node& node) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
        return FromXml(node.value());
    QString text;
    for (const pugi::xml_node& child : node.children())
        text += TextContent(child);
    return text;
}

} // namespace

void WriteGeneratedFile(const QString& fileName, const QByteArray& bytes) {
    try {
        WriteWholeFile(fileName, bytes);
    } catch (const EAppError& error) {
        throw EShopError(QStringLiteral("Cannot write \"%1\": %2").arg(fileName, error.Message()));
    }
}

QString StorefrontScriptLine(const TShop& shop, const QString& prefix) {
    if (!shop.Workspace().HasStorefront())
        return QString();
    return QStringLiteral("<script src=\"%1shoppingcart/storefront.js\"></script>").arg(prefix);
}

QString TShop::GetEmbedCode(const QString& prefix) const {
    const QString width = QString::number(config_.UserWidth());
    const QString height = QString::number(config_.UserHeight());
    const QStringList lines = {
        QStringLiteral("<object id=\"shoppingcart\" align=\"\" width=\"%1px\" height=\"%2px\"")
            .arg(width, height),
        QStringLiteral("        classid=\"clsid:D27CDB6E-AE6D-11CF-96B8-444553540000\""),
        QStringLiteral("        codebase=\"%1\">").arg(kPlayerCabinet),
        QStringLiteral("  <param name=\"movie\" value=\"%1shoppingcart/index.swf?datafile=shop.xml\">")
            .arg(prefix),
        QStringLiteral("  <param name=\"quality\" value=\"best\">"),
        QStringLiteral("  <param name=\"bgcolor\" value=\"ffffff\">"),
        QStringLiteral("  <param name=\"menu\" value=\"false\">"),
        QStringLiteral("  <param name=\"base\" value=\"%1shoppingcart/\">").arg(prefix),
        QStringLiteral("  <param name=\"allowScriptAccess\" value=\"always\" />"),
        QStringLiteral("  <embed src=\"%1shoppingcart/index.swf?datafile=shop.xml\"").arg(prefix),
        QStringLiteral("         name=\"shoppingcart\" bgcolor=\"ffffff\""),
        QStringLiteral("         width=\"%1px\" height=\"%2px\" menu=\"false\"").arg(width, height),
        QStringLiteral("         quality=\"best\" allowscriptaccess=\"always\""),
        QStringLiteral("         base=\"%1shoppingcart/\"").arg(prefix),
        QStringLiteral("         pluginspage=\"%1\"").arg(kPlayerDownloadPage),
        QStringLiteral("         type=\"application/x-shockwave-flash\">"),
        QStringLiteral("  </embed>"),
        QStringLiteral("</object>"),
    };
    return lines.join(kCrLf) + kCrLf;
}

void TShop::WriteEmbedPage(const QString& fileName, const QString& prefix) const {
    // A template without a storefront keeps the page exactly as it always was.
    const QString scriptLine = StorefrontScriptLine(*this, prefix);
    WritePage(fileName, PageHead(GetPlainTitle()) + GetEmbedCode(prefix) +
                            (scriptLine.isEmpty() ? QString() : scriptLine + kCrLf) + PageTail());
}

void TShop::WriteLauncherPage(const QString& fileName, const QString&) const {
    const QString features = QStringLiteral("status=0,toolbar=0,location=0,menubar=0,width=%1,height=%2")
                                 .arg(config_.UserWidth() + 30)
                                 .arg(config_.UserHeight() + 30);
    const QString link =
        QStringLiteral(
            "<a href=\"javascript:;\" onclick=\"window.open('shoppingcart.html','ShoppingCartWindow','%1')\">"
            "<font face=\"verdana\" size=\"+3\">Click to open the shopping cart</font></a>")
            .arg(features);
    WritePage(fileName, PageHead(GetPlainTitle()) + link + kCrLf + PageTail());
}

void TShop::WriteSitePages(const QString& prefix) const {
    if (config_.WinMode() == 1) {
        WriteEmbedPage(workspace_.StartPage(), prefix);
        return;
    }
    WriteLauncherPage(workspace_.StartPage(), prefix);
    WriteEmbedPage(workspace_.PopupPage(), prefix);
}

QString TShop::GetPlainTitle() const {
    const QString& title = config_.Title();
    if (!IsMarkedUp(title))
        return title;
    pugi::xml_document document;
    if (!ParseTitle(title, document)) {
        ShowTitleFormatError();
        return QString();
    }
    return TextContent(document.first_child());
}

void TShop::SetPlainTitle(const QString& text) {
    if (!IsMarkedUp(config_.Title())) {
        config_.SetTitle(text);
        return;
    }
    pugi::xml_document document;
    if (!ParseTitle(config_.Title(), document)) {
        ShowTitleFormatError();
        return;
    }
    pugi::xml_node first = document.first_child();
    while (first.first_child())
        first.remove_child(first.first_child());
    first.append_child(pugi::node_pcdata).set_value(ToXml(text).c_str());
    std::ostringstream serialised;
    document.save(serialised, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    config_.SetTitle(QString::fromStdString(serialised.str()));
}
