#pragma once

#include "base/TranslatableText.h"

#include <QString>

// The words of the port settings window's device label, board search and device list
// (frmCom and frmPortDevice), kept together so that they can be read and translated in one
// place. "%1" marks where a device, number or name goes. Texts without words are the same in
// every language.
namespace PortTexts {

// frmCom
inline constexpr TranslatableText kPortDeviceButton{"PortTexts",
                                                    QT_TRANSLATE_NOOP("PortTexts", "デバイス...")};
inline constexpr TranslatableText kDetectBoardButton{"PortTexts",
                                                     QT_TRANSLATE_NOOP("PortTexts", "ボード検出")};
inline constexpr TranslatableText kDetectQuestion{
    "PortTexts",
    QT_TRANSLATE_NOOP("PortTexts",
                      "接続されているシリアル機器に問い合わせを送ります。よろしいですか？")};
inline constexpr TranslatableText kSearching{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "ボードを探しています: %1")};
inline constexpr TranslatableText kNoDevices{
    "PortTexts",
    QT_TRANSLATE_NOOP(
        "PortTexts",
        "シリアル機器が見つかりません。ボードの USB シリアル変換器をつないでから、もう一度"
        "［ボード検出］を押してください。")};
inline constexpr TranslatableText kNoBoard{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "ボードは見つかりませんでした。")};
inline constexpr TranslatableText kNoBoardAdvice{
    "PortTexts",
    QT_TRANSLATE_NOOP(
        "PortTexts",
        "ボードの電源とケーブルを確かめてください。応答しないときは RTS と DTR を切り替えて"
        "もう一度お試しください。")};
inline constexpr TranslatableText kSearchStopped{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "ボードの検出を中止しました。")};
inline constexpr TranslatableText kBoardFound{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "ボードを検出しました: %1")};

// Lbl_PortDevice
inline constexpr TranslatableText kOverridden{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "%1（設定 [Ports] %2）")};
inline const QString kLinkTarget = QStringLiteral("%1 → %2");
inline constexpr TranslatableText kSerialNumber{"PortTexts",
                                                QT_TRANSLATE_NOOP("PortTexts", "シリアル番号 %1")};
inline constexpr TranslatableText kMissing{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts",
                                   "このデバイスはありません。USB "
                                   "シリアル変換器をつなぐか、［デバイス...］で選んでください。")};
inline constexpr TranslatableText kUsable{"PortTexts",
                                          QT_TRANSLATE_NOOP("PortTexts", "使用できます。")};
inline constexpr TranslatableText kHeld{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "他のプログラムが使用中です: %1")};
inline constexpr TranslatableText kUnusable{"PortTexts",
                                            QT_TRANSLATE_NOOP("PortTexts", "開けません: %1")};

// One line per device asked by the board search.
inline const QString kProbeLine = QStringLiteral("%1: %2");
inline constexpr TranslatableText kProbeNoAnswer{"PortTexts",
                                                 QT_TRANSLATE_NOOP("PortTexts", "応答なし")};
inline constexpr TranslatableText kProbeShortAnswer{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "応答が足りません (%1 バイト)")};
inline constexpr TranslatableText kProbeOtherAnswer{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "別の機器の応答 (%1)")};
inline constexpr TranslatableText kProbeHeld{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "他のプログラムが使用中のため問い合わせず (%1)")};
inline constexpr TranslatableText kLineLost{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "通信ポートが切断されました。")};
inline constexpr TranslatableText kProbeUnusable{"PortTexts",
                                                 QT_TRANSLATE_NOOP("PortTexts", "開けません (%1)")};
inline constexpr TranslatableText kProbeBoard{"PortTexts",
                                              QT_TRANSLATE_NOOP("PortTexts", "ボード (%1)")};

// frmPortDevice
inline constexpr TranslatableText kDeviceWindowTitle{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "通信ポート %1 のデバイス")};
inline constexpr TranslatableText kDeviceListLabel{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "接続されているシリアル機器")};
inline constexpr TranslatableText kColumnPath{"PortTexts",
                                              QT_TRANSLATE_NOOP("PortTexts", "デバイス")};
inline constexpr TranslatableText kColumnMaker{"PortTexts",
                                               QT_TRANSLATE_NOOP("PortTexts", "製造元")};
inline constexpr TranslatableText kColumnProduct{"PortTexts",
                                                 QT_TRANSLATE_NOOP("PortTexts", "製品")};
inline constexpr TranslatableText kColumnSerial{"PortTexts",
                                                QT_TRANSLATE_NOOP("PortTexts", "シリアル番号")};
inline constexpr TranslatableText kColumnStablePath{"PortTexts",
                                                    QT_TRANSLATE_NOOP("PortTexts", "固定パス")};
inline constexpr TranslatableText kColumnState{"PortTexts", QT_TRANSLATE_NOOP("PortTexts", "状態")};
inline constexpr TranslatableText kDeviceHeld{"PortTexts",
                                              QT_TRANSLATE_NOOP("PortTexts", "使用中: %1")};
inline constexpr TranslatableText kNoDeviceRows{
    "PortTexts", QT_TRANSLATE_NOOP("PortTexts", "シリアル機器が見つかりません。")};
inline constexpr TranslatableText kPathLabel{"PortTexts", QT_TRANSLATE_NOOP("PortTexts", "パス:")};
inline constexpr TranslatableText kPathNote{
    "PortTexts",
    QT_TRANSLATE_NOOP(
        "PortTexts",
        "一覧から選ぶか、パスを入力してください。固定パスがある機器は、つなぎ直しても変わらない"
        "固定パスで覚えます。空欄にすると標準のデバイス %1 に戻ります。")};
inline constexpr TranslatableText kOkButton{"PortTexts", QT_TRANSLATE_NOOP("PortTexts", "OK")};
inline constexpr TranslatableText kCancelButton{"PortTexts",
                                                QT_TRANSLATE_NOOP("PortTexts", "キャンセル")};

}  // namespace PortTexts
