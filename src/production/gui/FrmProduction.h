#pragma once

#include "link/LinkSettings.h"
#include "production/LineDatabaseAddress.h"
#include "production/ProductionJob.h"
#include "production/gui/FrmProductionControls.h"
#include "session/AppServices.h"

#include <QList>
#include <QWidget>

#include <memory>
#include <optional>

class BoardDisplay;
class LineDatabase;
class LinkFactory;
struct ChipAllocation;
struct RoundResult;

// frmProduction "量産": a production job on one or more boards, round after round, each chip
// with numbers of its own from the line database, verified and recorded, through the same
// production core, line database and port claims as `vorle6-cli run`.
//
// Everything that can be refused is refused before any board is touched, with the reason: no
// job or a job that no longer checks (read again before every round), no board, two entries
// for one device, a port another program of ours holds, a line database that cannot be reached.
// The first board is the main window's own (the port of the port settings window, looked up
// again before every round); more ports can be added. While a round runs the window's other
// commands are held off, and so are the main window's commands that reach the chip (through
// roundRunningChanged); a close during a round asks first and closes once the round has ended
// and been recorded.
class FrmProduction : public QWidget {
    Q_OBJECT
public:
    FrmProduction(const AppServices& services, LinkFactory& links, QWidget* parent = nullptr);
    ~FrmProduction() override;

    void Cmd_OpenJob_Click();
    void Cmd_AddPort_Click();
    void Cmd_RemovePort_Click();
    void Cmd_Database_Click();
    // Also Enter: one round on every board, then the displays, counters and log follow.
    void Cmd_Round_Click();
    void Cmd_ExportLog_Click();

    // Opens `path` as Cmd_OpenJob does after its dialog.
    void openJob(const QString& path);

    [[nodiscard]] bool roundRunning() const { return m_roundRunning; }
    // The main window runs a command that reaches the chip: no round starts meanwhile.
    void setAccessRunning(bool running);
    // During a round: asks whether to close once the round has ended (once; a second close
    // asks nothing more). True when the answer is to close.
    [[nodiscard]] bool closeAfterRound();

    [[nodiscard]] const FrmProductionControls& controls() const { return m_controls; }
    [[nodiscard]] BoardDisplay* boardDisplay(int index) const;

signals:
    // A round has begun (true) or ended (false).
    void roundRunningChanged(bool running);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Board {
        bool own = false;  // the main window's port, looked up again when needed
        LinkSettings link;
    };

    void showJob();
    void showBoards();
    void showDatabase(const QString& problem = {});
    void showCounters();
    void showNextValues();
    void updateCommands();
    void refreshOwnBoard();
    // Why a round cannot start now; empty when it can. May read the job again.
    [[nodiscard]] QString roundRefusal();
    // Claims the boards, opens the line database and runs one round on every board; the
    // refusal's words when the round could not start (then nothing was sent to any board).
    [[nodiscard]] QString runRound();
    void numbersTaken(int board, const ChipAllocation& allocation);
    void boardFinished(int board, const RoundResult& result);
    void refuse(const QString& text);
    void tell(const QString& text, bool problem);
    // The window's own connection to the line database (the next values, the export); null
    // when it cannot be opened (`problem` says why).
    [[nodiscard]] LineDatabase* view(QString* problem = nullptr);
    [[nodiscard]] QList<LinkSettings> links() const;
    // The place of the job's field `name` among its fields; -1 for none.
    [[nodiscard]] int fieldIndex(const QString& name) const;

    AppServices m_services;
    LinkFactory& m_links;
    FrmProductionControls m_controls;
    QString m_jobPath;
    std::optional<ProductionJob> m_job;
    QList<Board> m_boards;
    QList<BoardDisplay*> m_displays;
    QString m_station;
    QString m_addressText;  // as the user gave it; empty: the station's default file
    LineDatabaseAddress m_address;
    std::unique_ptr<LineDatabase> m_view;
    bool m_roundRunning = false;
    bool m_accessRunning = false;  // the main window's
    bool m_askedToClose = false;
    bool m_closeAfterRound = false;
    int m_passed = 0;
    int m_failed = 0;
    QString m_lastSerial;
};
