// Trovecart - names and files of product media inside a workspace.
#pragma once

#include <QImage>
#include <QString>

// Bare names built from a fresh time stamp; each file lives in its fixed subfolder of WorkFolder.
// A picture keeps its own extension, except that ".bmp" (any case) becomes ".jpg".
QString NewPictureFileName(const QString& pickedFile);
QString NewThumbFileName();
QString NewPreviewFileName(bool video);

// Copies the picked picture into workFolder + "image/" (a bitmap is converted to JPEG) and returns
// its bare name. Raises EShopError.
QString ImportPictureFile(const QString& pickedFile, const QString& workFolder);

// Fits the picture into the thumbnail box, saves it as PNG in workFolder + "thumb/" and returns
// its bare name. A picture read from a PNG keeps its transparency. Raises EShopError.
QString CreateThumbnailFile(const QImage& picture, int thumbWidth, int thumbHeight, const QString& workFolder,
                            bool sourceIsPng = false);
