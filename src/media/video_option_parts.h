// Trovecart - the parts of the conversion options: rectangles, scale, overlays.
#pragma once

#include <cstdint>

#include <QString>

// Colours are 0x00BBGGRR: red in the lowest byte.
using TColor = uint32_t;

class TBassClass {
public:
    virtual ~TBassClass() = default;
    bool Active = false;
    void Assign(const TBassClass& source) { Active = source.Active; }
};

// Pixels at each edge.
class TActiveRect : public TBassClass {
public:
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    void Assign(const TActiveRect& source);
    virtual QString ToString() const;
};

class TPadRect : public TActiveRect {
public:
    TColor Colour = 0;
    void Assign(const TPadRect& source);
    QString ToString() const override;
};

class TVideoScale : public TBassClass {
public:
    int32_t Width = 0;
    int32_t Height = 0;
    void Assign(const TVideoScale& source);
    QString ToString() const;
};

class TActiveFileName : public TBassClass {
public:
    QString FileName;
    void Assign(const TActiveFileName& source);
    QString ToString() const;
};

class TWaterMark : public TActiveFileName {
public:
    uint8_t Mode() const { return mode_; }
    // Only 0 and 1 are taken; other values are ignored.
    void SetMode(uint8_t mode);
    void Assign(const TWaterMark& source);

private:
    uint8_t mode_ = 0;
};

class TNativeHookImage : public TActiveFileName {};

struct TFontSpec {
    QString Name = QStringLiteral("Arial");
    int32_t Size = 10;
    TColor Color = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

class TNativeHookText : public TBassClass {
public:
    QString Text;
    TFontSpec Font;
    int32_t X = 0;
    int32_t Y = 0;
    void Assign(const TNativeHookText& source);
    QString ToString() const;
};

// Position kinds 0 to 4; kind 4 uses the record's own expressions.
struct TImlib2VideoHookImage {
    bool Active = false;
    QString FileName;
    int32_t PositionKind = 0;
    QString X;
    QString Y;
};

struct TImlib2VideoHookText {
    bool Active = false;
    QString Text;
    int32_t PositionKind = 0;
    QString X;
    QString Y;
    QString FontFile;
    int32_t FontSize = 0;
    TColor Colour = 0;
};
