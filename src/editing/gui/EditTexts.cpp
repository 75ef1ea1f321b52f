#include "editing/gui/EditTexts.h"

#include "base/HexText.h"

#include <QCoreApplication>

namespace EditTexts {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(EditTexts)
};

}  // namespace

QString kindName(EditKind kind)
{
    switch (kind) {
        case EditKind::ByteEdit:
            return Texts::tr("バイトの編集");
        case EditKind::ByteRead:
            return Texts::tr("Byte Read");
        case EditKind::Paste:
            return Texts::tr("貼り付け");
        case EditKind::Fill:
            return Texts::tr("塗りつぶし");
        case EditKind::Replace:
            return Texts::tr("置換");
        case EditKind::ReplaceAll:
            return Texts::tr("すべて置換");
        case EditKind::RangeLoad:
            return Texts::tr("ファイルの範囲読み込み");
        case EditKind::FileLoad:
            return Texts::tr("ファイルのロード");
        case EditKind::BlockRead:
            return Texts::tr("Block Read");
        case EditKind::BufferClear:
            return Texts::tr("バッファのクリア");
    }
    return {};
}

QString undoText(std::optional<EditKind> kind)
{
    return kind ? Texts::tr("元に戻す: %1(&U)").arg(kindName(*kind)) : Texts::tr("元に戻す(&U)");
}

QString redoText(std::optional<EditKind> kind)
{
    return kind ? Texts::tr("やり直し: %1(&R)").arg(kindName(*kind)) : Texts::tr("やり直し(&R)");
}

QString patternError(SearchPattern::Error error, const TextPlace& place)
{
    const QString where = Texts::tr("%1 行 %2 文字目: ").arg(place.line).arg(place.column);
    switch (error) {
        case SearchPattern::Error::None:
            return {};
        case SearchPattern::Error::Empty:
            return Texts::tr("バイトが指定されていません。");
        case SearchPattern::Error::NotHexadecimal:
            return where + Texts::tr("16進数ではない文字があります。");
        case SearchPattern::Error::OddDigits:
            return where + Texts::tr("16進数は2桁ずつ区切ってください。");
        case SearchPattern::Error::MissingDigits:
            return where + Texts::tr("「0x」の後に16進数がありません。");
        case SearchPattern::Error::NotAscii:
            return where + Texts::tr("ASCII ではない文字があります。");
        case SearchPattern::Error::NotShiftJis:
            return where + Texts::tr("Shift_JIS で表せない文字があります。");
    }
    return {};
}

QString patternError(const SearchPattern& pattern)
{
    return patternError(pattern.error, pattern.place);
}

QString hexError(const ByteTexts::HexParse& parse)
{
    using Error = ByteTexts::HexParse::Error;
    switch (parse.error) {
        case Error::None:
            return {};
        case Error::Empty:
            return patternError(SearchPattern::Error::Empty, parse.place);
        case Error::NotHexadecimal:
            return patternError(SearchPattern::Error::NotHexadecimal, parse.place);
        case Error::OddDigits:
            return patternError(SearchPattern::Error::OddDigits, parse.place);
        case Error::MissingDigits:
            return patternError(SearchPattern::Error::MissingDigits, parse.place);
    }
    return {};
}

QString selectionText(const RangeSummary& summary)
{
    return Texts::tr("選択 %1～%2 (%3 バイト) SUM:%4 CRC-32:%5")
        .arg(addressText(summary.start), addressText(summary.last))
        .arg(summary.length)
        .arg(hexText(summary.sum16, 4), hexText(summary.crc32, 8));
}

QString addressText(qint64 address)
{
    return QStringLiteral("0x") + hexText(static_cast<quint32>(address), 5);
}

}  // namespace EditTexts
