#pragma once

#include "base/TranslatableText.h"
#include "base/Version.h"

#include <QString>

// Names, version and texts that identify the program. Every window and the data-file load
// take them from here, so each text is kept in exactly one place. The texts in words are
// translated where they are used (TranslatableText); names and numbers are the same in every
// language.
namespace ProductInfo {

inline constexpr int kVersionMajor = VORLE_VERSION_MAJOR;
inline constexpr int kVersionMinor = VORLE_VERSION_MINOR;
inline constexpr int kVersionRevision = VORLE_VERSION_PATCH;

// The title under which the settings are stored and which the splash and about windows show.
inline const QString kApplicationTitle = QStringLiteral("VORLE");

// "6.2.13": major.minor.revision in plain decimal.
[[nodiscard]] QString versionNumber();

// "Ver 6.2.13"
[[nodiscard]] QString versionLabel();

// "Serial EEPROM Programmer Ver 6.2.13  ": the prefix of every main window caption.
[[nodiscard]] QString titleText();

// The maker of the program and its board, and the maker's support page.
inline constexpr TranslatableText kMakerName{
    "ProductInfo", QT_TRANSLATE_NOOP("ProductInfo", "VORLE プロジェクト")};
inline constexpr TranslatableText kMakerLine{
    "ProductInfo", QT_TRANSLATE_NOOP("ProductInfo", "製作: VORLE プロジェクト")};
inline const QString kSupportPageUrl = QStringLiteral("https://support.vorle.example/");

// The build's file description and comments fields.
inline constexpr TranslatableText kFileDescription{
    "ProductInfo",
    QT_TRANSLATE_NOOP("ProductInfo",
                      "VORLE プロジェクトのプログラマーボードでシリアルＥＥＰＲＯＭの読み書きを"
                      "行うソフトウエアです（ファームウエアバージョン6.00以上が必要です）。")};
inline const QString kFileComments;

// Title of the program's own message boxes at start-up.
inline constexpr TranslatableText kMessageTitle{
    "ProductInfo", QT_TRANSLATE_NOOP("ProductInfo", "シリアルＥＥＰＲＯＭプログラマー メッセージ")};

}  // namespace ProductInfo
