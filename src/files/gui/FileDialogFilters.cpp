#include "files/gui/FileDialogFilters.h"

#include <QCoreApplication>

namespace {

QString swapped16Filter(bool upperCase)
{
    const QString patterns = QStringLiteral("*.hex;*.s19;*.s28;*.s37;*.srec;*.mot;*.bin|");
    return QCoreApplication::translate("ImageFileFilters", "16ビット (バイト入れ替え)") +
           QLatin1Char('|') + (upperCase ? patterns.toUpper() : patterns);
}

}  // namespace

QString openFileFilter(bool offerSwapped16)
{
    const QString filter = QCoreApplication::translate(
        "ImageFileFilters",
        "Hexファイル|*.HEX|Sレコードファイル|*.S19;*.S28;*.S37;*.SREC;*.MOT|"
        "バイナリファイル|*.BIN|全てのファイル|*.*|");
    return offerSwapped16 ? filter + swapped16Filter(true) : filter;
}

QString saveFileFilter(bool offerSwapped16)
{
    const QString filter = QCoreApplication::translate(
        "ImageFileFilters",
        "Hexファイル|*.hex|Sレコードファイル|*.s19;*.s28;*.s37;*.srec;*.mot|"
        "バイナリファイル|*.bin|全てのファイル|*.*|");
    return offerSwapped16 ? filter + swapped16Filter(false) : filter;
}
