#pragma once

#include "base/StatusPanels.h"

#include <QList>
#include <QPair>
#include <QString>

// Status panels that remember every text they were given, in order.
class RecordingStatusPanels : public StatusPanels {
public:
    void setText(int panel, const QString& text) override
    {
        if (panel >= 1 && panel <= 4) m_texts[panel - 1] = text;
        history.append({panel, text});
    }
    [[nodiscard]] QString text(int panel) const override
    {
        return panel >= 1 && panel <= 4 ? m_texts[panel - 1] : QString();
    }
    [[nodiscard]] QStringList textsOf(int panel) const
    {
        QStringList result;
        for (const auto& [p, text] : history) {
            if (p == panel) result.append(text);
        }
        return result;
    }

    QList<QPair<int, QString>> history;

private:
    QString m_texts[4];
};
