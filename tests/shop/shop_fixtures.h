// Trovecart tests - template folders and shops made on the spot.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A template folder with shop.xml (one category, one product), index.swf, Thumb.png and a skin file.
void MakeTemplateFolder(const QString& folder, const QString& id, int userWidth = 640, int userHeight = 420,
                        int winMode = 1);

// The text of a small shop.xml.
QByteArray ShopXml(const QString& id, int userWidth, int userHeight, int winMode, const QString& title);

// Archive entries as `unzip -Z1` lists them; empty when the tool fails.
QStringList UnzipNames(const QString& archive);
