#pragma once

#include <QList>
#include <QString>

// One serial value given to one chip: the field it is for, the number drawn from the field's
// series (for csv, the value's index in the column) and the text the log shows.
struct SerialValue {
    QString field;
    qint64 number = 0;
    QString csvText;  // csv: the value itself
    QString text;     // as SerialField::displayText gives it

    friend bool operator==(const SerialValue& a, const SerialValue& b)
    {
        return a.field == b.field && a.number == b.number && a.csvText == b.csvText &&
               a.text == b.text;
    }
};
