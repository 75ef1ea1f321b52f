#include "app/gui/MainWindow.h"

#include "app/ProgramState.h"
#include "base/SettingsStore.h"
#include "base/Twips.h"
#include "devices/gui/DevicePanel.h"
#include "files/gui/FileCompareCommand.h"
#include "files/gui/ImageFileCommands.h"
#include "image/gui/DifferencesDisplay.h"
#include "image/gui/ImageView.h"
#include "link/QtSerialPort.h"
#include "link/gui/AccessController.h"
#include "link/gui/PortSettingsController.h"
#include "ui/WindowPlacement.h"
#include "ui/gui/LanguageMenu.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include <utility>

MainWindow::MainWindow(const AppServices& services, QWidget* parent)
    : QMainWindow(parent),
      m_services(services),
      m_controls(buildMainWindowControls(this)),
      m_statusPanels(m_controls.statusPanels, this)
{
    setObjectName(QStringLiteral("frmMain"));
    m_devicePanel = std::make_unique<DevicePanel>(m_controls, services, m_statusPanels);
    m_imageView = std::make_unique<ImageView>(m_controls, services, m_statusPanels, m_statusPanels);
    m_devicePanel->setClearImage([this] { m_imageView->ClearImage(); });
    m_imageFileCommands = std::make_unique<ImageFileCommands>(
        services, m_statusPanels, m_statusPanels,
        [this](const QString& caption) { setWindowTitle(caption); });
    m_imageFileCommands->connectControls(m_controls);
    m_imageFileCommands->setShowImage([this] { m_imageView->ShowImage(); });
    m_serialPort = services.port ? services.port : new QtSerialPort(this);
    m_portSettings = new PortSettingsController(m_controls, services, *m_serialPort, this);
    m_differences = std::make_unique<DifferencesDisplay>(*m_imageView, this);
    m_access =
        new AccessController(m_controls, services, m_statusPanels, *m_serialPort, services.clock,
                             *m_imageView, *m_devicePanel, *m_differences, this);
    m_portSettings->setBusyCheck([this] { return m_access->running(); });
    m_imageFileCommands->setBusyCheck([this] { return m_access->running(); });
    m_fileCompare = new FileCompareCommand(services, m_statusPanels, *m_differences, this);
    m_fileCompare->setBusyCheck([this] { return m_access->running(); });
    connect(m_controls.mnuFileCompare, &QAction::triggered, m_fileCompare,
            &FileCompareCommand::mnuFileCompare_Click);
    // A close during an access stops the access first; the window closes once it has ended.
    connect(m_access, &AccessController::accessFinished, this, [this] {
        if (m_closeAfterAccess) {
            m_access->reportStopForClose();
            QTimer::singleShot(0, this, [this] { close(); });
            return;
        }
        if (!m_fileAfterAccess.isEmpty()) {
            QTimer::singleShot(
                0, this, [this] { openFileFromOutside(std::exchange(m_fileAfterAccess, {})); });
        }
    });
    new LanguageMenu(m_controls, services, this);
    setAcceptDrops(true);
    connect(m_controls.mnuFileExit, &QAction::triggered, this, &MainWindow::mnuFileExit_Click);
    resize(QSize(1000, 660).expandedTo(minimumSizeHint()));
}

MainWindow::~MainWindow() = default;

double MainWindow::dotsPerInch() const
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

void MainWindow::Form_Load()
{
    using namespace SettingsKeys;
    const double left = m_services.settings.getNumber(kSettings, kMainLeft, 1000);
    const double top = m_services.settings.getNumber(kSettings, kMainTop, 1000);
    move(twipsToPixels(left, dotsPerInch()), twipsToPixels(top, dotsPerInch()));
    placeOnScreen();

    placeSeparator();
    m_devicePanel->fillFixedAccessSizes();
}

QMargins MainWindow::frameMargins() const
{
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    if (frame != client) {
        return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                        frame.right() - client.right(), frame.bottom() - client.bottom());
    }
    // Not on screen yet: the window manager's frame is not known, so allow for a title bar.
    const int border = 4;
    return QMargins(border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border,
                    border);
}

void MainWindow::placeOnScreen()
{
    QList<QRect> areas;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        areas.append(primary->availableGeometry());
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) areas.append(screen->availableGeometry());
    }
    const QMargins margins = frameMargins();
    const QRect frame(pos(), size().grownBy(margins));
    const QRect placed = WindowPlacement::onScreen(frame, WindowPlacement::areaFor(frame, areas));
    if (placed == frame) return;
    // The layout's minimum wins over a screen smaller still; the top left corner stays on it.
    resize(placed.size().shrunkBy(margins).expandedTo(minimumSizeHint()));
    move(placed.topLeft());
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce) return;
    m_shownOnce = true;
    // Once on screen the real frame is known: place again should it differ from the estimate.
    QTimer::singleShot(0, this, [this] {
        if (frameGeometry() != geometry()) placeOnScreen();
    });
}

void MainWindow::placeSeparator()
{
    // Line2 stands 20 twips below Line1; both span the window's width.
    const int gap = std::max(1, twipsToPixels(20, dotsPerInch()));
    m_controls.Line1->setGeometry(0, 0, width(), 1);
    m_controls.Line2->setGeometry(0, gap, width(), 1);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    placeSeparator();
}

void MainWindow::Form_Unload()
{
    using namespace SettingsKeys;
    if (isMinimized()) return;
    const QPoint position = pos();
    m_services.settings.save(kSettings, kMainLeft,
                             QString::number(pixelsToTwips(position.x(), dotsPerInch())));
    m_services.settings.save(kSettings, kMainTop,
                             QString::number(pixelsToTwips(position.y(), dotsPerInch())));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_access->running()) {
        // A write is stopped only when the user agrees: the part is left partly written.
        if (!m_closeAfterAccess && m_access->confirmStopForClose()) {
            m_closeAfterAccess = true;
            m_access->cancel();
        }
        event->ignore();
        return;
    }
    if (!m_services.state.unsaved.mayDiscard(m_services.dialogs)) {
        m_closeAfterAccess = false;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    emit unloaded();
}

void MainWindow::mnuFileExit_Click() { close(); }

void MainWindow::openFileFromOutside(const QString& path)
{
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (path.isEmpty()) return;
    if (m_access->running()) {
        m_fileAfterAccess = path;
        return;
    }
    m_imageFileCommands->loadFile(path);
}

namespace {

// The first local file among the dragged items; empty when there is none.
QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_access->running() && !droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (m_access->running() || path.isEmpty()) return;
    event->acceptProposedAction();
    // Loaded once the drop is over: a message box inside the drop would hold up the program the
    // file came from.
    QTimer::singleShot(0, this, [this, path] { m_imageFileCommands->loadFile(path); });
}
