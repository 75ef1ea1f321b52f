#pragma once

#include "base/Version.h"

#include <QString>

// Names, version and texts that identify the program. Every window and the data-file load
// take them from here, so each text is kept in exactly one place.
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
inline const QString kMakerName = QStringLiteral("VORLE プロジェクト");
inline const QString kMakerLine = QStringLiteral("製作: VORLE プロジェクト");
inline const QString kSupportPageUrl = QStringLiteral("https://support.vorle.example/");

// The build's file description and comments fields.
inline const QString kFileDescription = QStringLiteral(
    "VORLE プロジェクトのプログラマーボードでシリアルＥＥＰＲＯＭの読み書きを行うソフトウエアです"
    "（ファームウエアバージョン6.00以上が必要です）。");
inline const QString kFileComments;

// Title of the program's own message boxes at start-up.
inline const QString kMessageTitle = QStringLiteral("シリアルＥＥＰＲＯＭプログラマー メッセージ");

}  // namespace ProductInfo
