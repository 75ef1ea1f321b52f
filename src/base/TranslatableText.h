#pragma once

#include <QCoreApplication>
#include <QString>

// A window text kept as a constant and translated each time it is used. A QString constant at
// namespace scope is made before main() runs, long before the program has chosen its language;
// this keeps the Japanese source text and its translation context instead, and looks the
// translation up at use. Write both with QT_TRANSLATE_NOOP so that lupdate finds the text:
//   inline constexpr TranslatableText kDone{"Context", QT_TRANSLATE_NOOP("Context", "終了")};
struct TranslatableText {
    const char* context;
    const char* source;  // UTF-8

    // The text in the language the program runs in.
    [[nodiscard]] QString text() const { return QCoreApplication::translate(context, source); }
    // Implicit, so that a constant stands wherever a QString is expected.
    operator QString() const { return text(); }  // NOLINT(google-explicit-constructor)

    template <typename... Args>
    [[nodiscard]] QString arg(const Args&... args) const
    {
        return text().arg(args...);
    }
};
