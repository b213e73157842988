// The widget boundary of program text: Windows-1252 bytes in, QString out, and back.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillery {

QString toScreen(std::string_view text);
// Characters Windows-1252 cannot hold become '?'.
std::string fromScreen(const QString& text);

// A fixed field's text without its trailing blanks, for the screen.
QString toScreenClipped(std::string_view text);

}  // namespace quillery
