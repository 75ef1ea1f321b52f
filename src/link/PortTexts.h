#pragma once

#include <QString>

// The words of the port settings window's device label, board search and device list
// (frmCom and frmPortDevice), kept together so that they can be read and translated in one
// place. "%1" marks where a device, number or name goes.
namespace PortTexts {

// frmCom
inline const QString kPortDeviceButton = QStringLiteral("デバイス...");
inline const QString kDetectBoardButton = QStringLiteral("ボード検出");
inline const QString kDetectQuestion =
    QStringLiteral("接続されているシリアル機器に問い合わせを送ります。よろしいですか？");
inline const QString kSearching = QStringLiteral("ボードを探しています: %1");
inline const QString kNoDevices = QStringLiteral(
    "シリアル機器が見つかりません。ボードの USB シリアル変換器をつないでから、もう一度"
    "［ボード検出］を押してください。");
inline const QString kNoBoard = QStringLiteral("ボードは見つかりませんでした。");
inline const QString kNoBoardAdvice = QStringLiteral(
    "ボードの電源とケーブルを確かめてください。応答しないときは RTS と DTR を切り替えて"
    "もう一度お試しください。");
inline const QString kSearchStopped = QStringLiteral("ボードの検出を中止しました。");
inline const QString kBoardFound = QStringLiteral("ボードを検出しました: %1");

// Lbl_PortDevice
inline const QString kOverridden = QStringLiteral("%1（設定 [Ports] %2）");
inline const QString kLinkTarget = QStringLiteral("%1 → %2");
inline const QString kSerialNumber = QStringLiteral("シリアル番号 %1");
inline const QString kMissing = QStringLiteral(
    "このデバイスはありません。USB シリアル変換器をつなぐか、［デバイス...］で選んでください。");
inline const QString kUsable = QStringLiteral("使用できます。");
inline const QString kHeld = QStringLiteral("他のプログラムが使用中です: %1");
inline const QString kUnusable = QStringLiteral("開けません: %1");

// One line per device asked by the board search.
inline const QString kProbeLine = QStringLiteral("%1: %2");
inline const QString kProbeNoAnswer = QStringLiteral("応答なし");
inline const QString kProbeShortAnswer = QStringLiteral("応答が足りません (%1 バイト)");
inline const QString kProbeOtherAnswer = QStringLiteral("別の機器の応答 (%1)");
inline const QString kProbeHeld = QStringLiteral("他のプログラムが使用中のため問い合わせず (%1)");
inline const QString kProbeUnusable = QStringLiteral("開けません (%1)");
inline const QString kProbeBoard = QStringLiteral("ボード (%1)");

// frmPortDevice
inline const QString kDeviceWindowTitle = QStringLiteral("通信ポート %1 のデバイス");
inline const QString kDeviceListLabel = QStringLiteral("接続されているシリアル機器");
inline const QString kColumnPath = QStringLiteral("デバイス");
inline const QString kColumnMaker = QStringLiteral("製造元");
inline const QString kColumnProduct = QStringLiteral("製品");
inline const QString kColumnSerial = QStringLiteral("シリアル番号");
inline const QString kColumnStablePath = QStringLiteral("固定パス");
inline const QString kColumnState = QStringLiteral("状態");
inline const QString kDeviceHeld = QStringLiteral("使用中: %1");
inline const QString kNoDeviceRows = QStringLiteral("シリアル機器が見つかりません。");
inline const QString kPathLabel = QStringLiteral("パス:");
inline const QString kPathNote = QStringLiteral(
    "一覧から選ぶか、パスを入力してください。固定パスがある機器は、つなぎ直しても変わらない"
    "固定パスで覚えます。空欄にすると標準のデバイス %1 に戻ります。");
inline const QString kOkButton = QStringLiteral("OK");
inline const QString kCancelButton = QStringLiteral("キャンセル");

}  // namespace PortTexts
