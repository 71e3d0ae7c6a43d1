#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

namespace kelvrast {

// The program's UTF-16 texts as Qt's strings.
inline QString toQString(std::u16string_view text) {
    return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

// Names in the program's tables are UTF-8.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace kelvrast
