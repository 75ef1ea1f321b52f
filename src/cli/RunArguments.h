#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What a `vorle6-cli run` command line asks for, checked for form; the job, the ports and the
// database are looked at by the command.
struct RunOptions {
    QString job;
    QStringList ports;  // -p, in the order given; none: the window's port
    std::optional<bool> rts;
    std::optional<bool> dtr;
    QString database;  // --db; empty: the station's own SQLite file
    QString station;   // --station; empty: this computer's name
    bool loop = false;
    char key = '\n';  // --key: what starts the next round
    bool json = false;
    bool quiet = false;
    QString dataFile;
};

struct RunParse {
    std::optional<RunOptions> options;
    QString error;  // in English (exit code 1)
};

// Whether `arguments` (the program name first) are a run command: the first word that is not
// an option is "run".
[[nodiscard]] bool isRunCommandLine(const QStringList& arguments);

[[nodiscard]] RunParse parseRunArguments(const QStringList& arguments);

// The lines of --help about run.
[[nodiscard]] QString runHelpText();
