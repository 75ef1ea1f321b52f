#include "cli/VerboseLog.h"

#include "link/LinkLog.h"

#include <QFile>
#include <QMutex>

#include <unistd.h>

namespace {

QIODevice* g_errors = nullptr;
QMutex g_mutex;
QtMessageHandler g_previous = nullptr;

void writeLine(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (qstrcmp(context.category, lcLink().categoryName()) != 0) {
        if (g_previous) g_previous(type, context, message);
        return;
    }
    const QByteArray line = QByteArray(lcLink().categoryName()) + ": " + message.toUtf8() + '\n';
    const QMutexLocker lock(&g_mutex);
    // A board's thread writes past the device's own state, which belongs to the main thread.
    const auto* file = qobject_cast<QFile*>(g_errors);
    if (file && file->handle() >= 0) {
        [[maybe_unused]] const ssize_t written =
            ::write(file->handle(), line.constData(), static_cast<size_t>(line.size()));
    } else if (g_errors) {
        g_errors->write(line);
    }
}

QLoggingCategory& linkCategory()
{
    // The category object itself is not const; Q_LOGGING_CATEGORY only hands it out as one.
    return const_cast<QLoggingCategory&>(lcLink());
}

}  // namespace

VerboseLog::VerboseLog(QIODevice& errors)
{
    g_errors = &errors;
    g_previous = qInstallMessageHandler(writeLine);
    m_wasOn = linkCategory().isDebugEnabled();
    linkCategory().setEnabled(QtDebugMsg, true);
}

VerboseLog::~VerboseLog()
{
    linkCategory().setEnabled(QtDebugMsg, m_wasOn);
    qInstallMessageHandler(g_previous);
    const QMutexLocker lock(&g_mutex);
    g_errors = nullptr;
}
