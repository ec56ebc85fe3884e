// Trovecart - overlay module lines ("vhook=") mapped onto libavfilter.
#pragma once

#include <QString>

// Turns the value of one "vhook=" line (module path and arguments) into a filter graph fragment
// with "{in}", "{out}" and "{id}" placeholders for its pad labels. Modules: imlib2 (moving image
// or text), watermark, NativeHook (image with a transparent colour, or text). Raises EMediaError
// for an unknown module or a line without what the module needs.
QString VhookToFilterGraph(const QString& line);

// Escapes a value for a filter option inside a filter graph description.
QString EscapeFilterValue(const QString& value);
