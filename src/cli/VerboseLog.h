#pragma once

class QIODevice;

// -v: every command and reply on the line (the vorle.link category, link/LinkLog.h) on the
// program's standard error while the object lives, each as one line "vorle.link: ...", from
// whichever thread a board runs on. Messages of other categories go where they went before.
// One object at a time.
class VerboseLog {
public:
    explicit VerboseLog(QIODevice& errors);
    ~VerboseLog();
    VerboseLog(const VerboseLog&) = delete;
    VerboseLog& operator=(const VerboseLog&) = delete;

private:
    bool m_wasOn = false;  // QT_LOGGING_RULES had turned the category on already
};
