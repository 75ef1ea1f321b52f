#pragma once

#include <QString>

// Why a job cannot be run: what is wrong, the job file's field it is in ("serials[1].length",
// "imageSha256") and the offending value as the file gave it. Each front-end words it.
struct JobProblem {
    enum class Kind {
        None,
        JobUnreadable,      // the job file cannot be read (value: the system's reason)
        NotJson,            // not a JSON object (value: the parser's reason)
        NotAJob,            // the file type marker is missing or of another program
        NewerJob,           // a job file version this program does not know
        UnknownField,       // a key the job file does not have (a typo)
        MissingField,       // a required key is absent
        WrongType,          // the value is not of the key's type (text, number, true/false)
        BadValue,           // not one of the allowed words, or a number out of its bounds
        UnknownPart,        // the part is not in the parts file
        UnknownFormat,      // a serial format that does not exist
        ImageUnreadable,    // the image file cannot be read (value: the system's reason)
        ImageEmpty,         // the image file holds no data record
        ImageChanged,       // the image's SHA-256 is not the one in the job
        ImageDamaged,       // records with a wrong checksum or cut short
        ImageBeyondPart,    // the image holds data past the end of the part
        RangeOutsidePart,   // the range runs past the part
        RangeNotBlocks,     // the range does not start and end on the part's block size
        FieldOutsideRange,  // a serial field lies (partly) outside the range
        FieldsOverlap,      // two serial fields share bytes (value: the other field's name)
        DuplicateName,      // two serial fields of the same name
        ValueTooLong,       // a value does not fit the field's length
        LengthNotAllowed,   // a length the format cannot have (binary over 8 bytes, mac)
        StartAfterLast,     // the first value comes after the last allowed one
        CsvUnreadable,      // the CSV file cannot be read
        CsvNoColumn,        // the CSV file has no such column
        CsvNoValues,        // the column holds no value
        CsvEmptyValue,      // a row has no value in the column (value: its line number)
        CsvDuplicateValue,  // a value appears twice in the column (value: the value)
    };

    Kind kind = Kind::None;
    QString field;  // the key's path in the job file
    QString value;

    [[nodiscard]] bool isProblem() const { return kind != Kind::None; }
};
