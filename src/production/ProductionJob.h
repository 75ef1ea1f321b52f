#pragma once

#include "production/FailurePolicy.h"
#include "production/SerialField.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A production job as read from its file and checked: the part, the image every chip gets,
// the range written, and the serial fields that make each chip its own. A job exists only once
// everything in it has been checked: the image is the one the job was made with, every field
// lies inside the range and apart from the others, and every value it may take fits.
struct ProductionJob {
    QString name;      // also the default series of its fields: "<name>.<field>"
    QString path;      // the job file
    QString sha256;    // of the job file's bytes, lower-case hexadecimal
    QString partName;  // as the parts file spells it
    qint64 partSize = 0;
    QString imagePath;  // absolute
    QString imageSha256;
    QByteArray image;   // the part's size: the file's data, 0xFF where it had none
    qint64 offset = 0;  // the range written
    qint64 length = 0;
    bool verify = true;
    FailurePolicy onFailure = FailurePolicy::Burn;
    QList<SerialField> serials;

    [[nodiscard]] bool wholePart() const { return offset == 0 && length == partSize; }
};
