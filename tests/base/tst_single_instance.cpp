// A second copy of the program hands its file to the running one and ends at once; a lock left
// by a crashed run does not stop the next start.
#include "app/gui/FileHandoff.h"
#include "base/InstanceLock.h"
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_environment = std::make_unique<TestEnvironment>(false);
        QVERIFY(m_runtime.isValid());
    }

    void secondLockInTheSameFolderFails()
    {
        const QString path = m_runtime.filePath("in-process.lock");
        InstanceLock first(path);
        QVERIFY(first.acquire());
        InstanceLock second(path);
        QVERIFY(!second.acquire());
    }

    // The running copy is stood in for by the lock and the socket beside it.
    void secondProgramHandsItsFileOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("handed");
        QTest::newRow("a file") << QStringList{"dump.hex"} << "/dump.hex";
        QTest::newRow("no file: the window only") << QStringList{} << QString();
    }
    void secondProgramHandsItsFileOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, handed);
        const QString lockPath = m_runtime.filePath("vorle6.lock");
        InstanceLock held(lockPath);
        QVERIFY(held.acquire());
        FileHandoff running(FileHandoff::serverNameFor(lockPath));
        QVERIFY(running.listen());
        QStringList received;
        connect(&running, &FileHandoff::fileHanded, this,
                [&](const QString& path) { received.append(path); });

        QTemporaryDir work;
        QProcess program;
        program.setProcessEnvironment(environment());
        program.setWorkingDirectory(work.path());
        program.start(QStringLiteral(VORLE_PROGRAM), arguments);
        QTRY_COMPARE_WITH_TIMEOUT(program.state(), QProcess::NotRunning, 30000);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.first(), handed.isEmpty() ? handed : work.path() + handed);
    }

    void staleLockOfACrashedRunIsTakenOver()
    {
        QProcess gone;
        gone.start(QStringLiteral("true"), {});
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QFile lock(m_runtime.filePath("vorle6.lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(QByteArray::number(deadPid) + "\nvorle6\n" +
                   QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();

        QProcess program;
        program.setProcessEnvironment(environment());
        program.start(QStringLiteral(VORLE_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        // The program keeps running; a second copy would have ended within moments.
        QVERIFY(!program.waitForFinished(3000));
        InstanceLock second(m_runtime.filePath("vorle6.lock"));
        QVERIFY(!second.acquire());
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
    }

private:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_runtime.path());
        env.insert("XDG_CONFIG_HOME", m_environment->configFolder());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }

    std::unique_ptr<TestEnvironment> m_environment;
    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_single_instance.moc"
