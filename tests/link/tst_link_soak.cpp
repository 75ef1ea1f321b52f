// A thousand accesses on an emulated board that fails at random (bytes dropped and added on the
// line, stalls, hang-ups, bits flipped while writing and on the way back), in fake time: no
// access may end in success while the chip or the image holds other data than it says, none may
// hang, and the port is closed after each. A board left waiting by a stopped write fails the
// detections after it; the soak then switches it off and on, as a user would.
#include "jobs/ChipJob.h"
#include "link/AccessPackets.h"
#include "link/ProgrammerLink.h"
#include "support/EmulatedBoards.h"
#include "support/FakeLinkClock.h"
#include "support/TestDevices.h"

#include <QTest>

#include <random>

using namespace std::chrono_literals;
using Kind = AccessOutcome::Kind;

namespace {

const QString kPath = QStringLiteral("/dev/ttyUSB0");
constexpr int kAccesses = 1000;
// Detection, preparation and one chunk may each wait out their limit, for a write and its verify.
constexpr auto kLongestAccess = 3min;

// The program as the soak drives it: the only code here that knows how an access is asked for.
class Driver {
public:
    Driver(ProgrammerLink& link, const LinkSettings& settings, const SelectedDevice& device)
        : m_job(link), m_settings(settings), m_device(device)
    {
    }

    [[nodiscard]] ChipJobOutcome read(qint64 offset, qint64 size)
    {
        return m_job.run(order(ChipJobOrder::Kind::Read, offset, size));
    }
    // A write and, when it went through, its verify.
    [[nodiscard]] ChipJobOutcome writeAndVerify(qint64 offset, qint64 size, const QByteArray& data)
    {
        ChipJobOrder write = order(ChipJobOrder::Kind::Write, offset, size);
        write.image = data;
        write.checkAfter = true;
        return m_job.run(write);
    }
    [[nodiscard]] ChipJobOutcome verify(qint64 offset, qint64 size, const QByteArray& expected)
    {
        ChipJobOrder verify = order(ChipJobOrder::Kind::Verify, offset, size);
        verify.image = expected;
        return m_job.run(verify);
    }
    // An erase of the whole part and, when it went through, its blank check.
    [[nodiscard]] ChipJobOutcome eraseAndCheck()
    {
        ChipJobOrder erase = order(ChipJobOrder::Kind::Erase, 0, m_device.memorySize());
        erase.checkAfter = true;
        return m_job.run(erase);
    }

private:
    [[nodiscard]] ChipJobOrder order(ChipJobOrder::Kind kind, qint64 offset, qint64 size) const
    {
        ChipJobOrder order;
        order.kind = kind;
        order.link = m_settings;
        order.request.device = m_device;
        order.request.offset = offset;
        order.request.accessSize = size;
        return order;
    }

    ChipJob m_job;
    LinkSettings m_settings;
    SelectedDevice m_device;
};

}  // namespace

class LinkSoakTest : public QObject {
    Q_OBJECT

private slots:
    void noAccessReportsSuccessWithWrongData_data();
    void noAccessReportsSuccessWithWrongData();
};

void LinkSoakTest::noAccessReportsSuccessWithWrongData_data()
{
    QTest::addColumn<QString>("part");
    QTest::newRow("I2C") << "24C02";
    QTest::newRow("Microwire") << "AT93C46";
}

void LinkSoakTest::noAccessReportsSuccessWithWrongData()
{
    QFETCH(QString, part);
    FakeLinkClock clock;
    EmulatedBoards boards(clock);
    EmulatedBoard& board = boards.add(kPath, EmulatedBoards::part(part),
                                      EmulatedBoards::faults({QStringLiteral("random:2026:0.01")}));
    EmulatedPort port(boards);
    ProgrammerLink link(port, clock);
    LinkSettings settings;
    settings.portNumber = 1;
    settings.devicePath = kPath;
    const SelectedDevice device = shippedDevice(part);
    Driver driver(link, settings, device);

    const qint64 size = board.part().size();
    const int chunk = chunkCount(device, AccessMode::Block);
    std::mt19937 random(7);
    QByteArray written = board.contents();  // what the last write that verified put there
    QMap<QString, int> tally;

    for (int access = 0; access < kAccesses; ++access) {
        qint64 offset = chunk * qint64(random() % (size / chunk));
        qint64 length = chunk * (1 + qint64(random() % ((size - offset) / chunk)));
        const qsizetype eventsBefore = board.events().size();
        const LinkClock::Duration start = clock.now();
        QString kind;
        Kind outcome = Kind::Done;
        QByteArray expected;  // what the chip must hold over the range when the access passed
        bool passed = false;

        switch (random() % 4) {
            case 0: {
                kind = QStringLiteral("read");
                const ChipJobOutcome read = driver.read(offset, length);
                outcome = read.access.kind;
                passed = read.succeeded();
                expected = read.chip;
                break;
            }
            case 1: {
                kind = QStringLiteral("write and verify");
                QByteArray data(size, '\0');
                for (char& byte : data) byte = static_cast<char>(random());
                const ChipJobOutcome check = driver.writeAndVerify(offset, length, data);
                outcome = check.access.kind;
                passed = check.succeeded();
                if (check.access.succeeded() && check.comparison && !passed)
                    tally[QStringLiteral("verify caught")]++;
                if (passed) written.replace(offset, length, data.mid(offset, length));
                expected = data;
                break;
            }
            case 2: {
                kind = QStringLiteral("verify");
                const ChipJobOutcome check = driver.verify(offset, length, written);
                outcome = check.access.kind;
                passed = check.succeeded();
                expected = written;
                break;
            }
            default: {
                kind = QStringLiteral("erase and blank check");
                const ChipJobOutcome check = driver.eraseAndCheck();
                outcome = check.access.kind;
                passed = check.succeeded();
                if (passed) written.fill('\xFF');
                expected = QByteArray(size, '\xFF');
                break;
            }
        }
        const QString context = QStringLiteral("access %1 (%2, 0x%3 + %4)")
                                    .arg(access)
                                    .arg(kind)
                                    .arg(offset, 0, 16)
                                    .arg(length);
        QVERIFY2(clock.now() - start < kLongestAccess, qPrintable(context));
        QVERIFY2(!port.isOpen() && !link.running(), qPrintable(context));
        // The last page is programmed after the access has handed it over.
        clock.advance(1s);
        const QStringList events = board.events().mid(eventsBefore);
        const bool misread = !events.filter(QStringLiteral("flipped on the line")).isEmpty();
        if (kind.startsWith(QLatin1String("erase"))) {
            offset = 0;
            length = size;
        }
        if (passed && !misread) {
            QVERIFY2(board.contents().mid(offset, length) == expected.mid(offset, length),
                     qPrintable(context + QLatin1Char('\n') + events.join('\n')));
        }
        tally[kind + (passed ? QStringLiteral(" passed") : QStringLiteral(" failed"))]++;
        // The board waits for the rest of a stopped write: switch it off and on.
        if (outcome == Kind::NoBoard) {
            board.powerCycle();
            tally[QStringLiteral("switched off and on")]++;
        }
    }
    // The faults struck every kind of access, and every kind still went through often.
    for (const char* kind : {"read", "write and verify", "verify", "erase and blank check"}) {
        QVERIFY2(tally.value(QLatin1String(kind) + QStringLiteral(" failed")) > 0, kind);
        QVERIFY2(tally.value(QLatin1String(kind) + QStringLiteral(" passed")) > kAccesses / 10,
                 kind);
    }
    QVERIFY(tally.value(QStringLiteral("switched off and on")) > 0);
    QVERIFY(tally.value(QStringLiteral("verify caught")) > 0);
}

QTEST_GUILESS_MAIN(LinkSoakTest)
#include "tst_link_soak.moc"
