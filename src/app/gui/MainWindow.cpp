#include "app/gui/MainWindow.h"
#include "image/gui/UnsavedQuestion.h"

#include "app/gui/MainWindowParts.h"

#include "base/SettingsStore.h"
#include "base/Twips.h"
#include "devices/gui/DevicePanel.h"
#include "files/gui/ImageFileCommands.h"
#include "link/gui/AccessController.h"
#include "session/ProgramState.h"
#include "ui/WindowPlacement.h"

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
    m_parts = std::make_unique<MainWindowParts>(*this, m_controls, services, m_statusPanels);
    setAcceptDrops(true);
    connect(m_controls.mnuFileExit, &QAction::triggered, this, &MainWindow::mnuFileExit_Click);
    resize(QSize(1000, 660).expandedTo(minimumSizeHint()));
}

MainWindow::~MainWindow() = default;

DevicePanel& MainWindow::devicePanel() { return m_parts->devicePanel(); }
ImageFileCommands& MainWindow::imageFileCommands() { return m_parts->imageFileCommands(); }
FileCompareCommand& MainWindow::fileCompare() { return m_parts->fileCompare(); }
SerialPort& MainWindow::serialPort() { return m_parts->serialPort(); }
PortSettingsController& MainWindow::portSettings() { return m_parts->portSettings(); }
ImageView& MainWindow::imageView() { return m_parts->imageView(); }
AccessController& MainWindow::access() { return m_parts->access(); }
DifferencesDisplay& MainWindow::differences() { return m_parts->differences(); }
ImageEditing& MainWindow::editing() { return m_parts->editing(); }

void MainWindow::accessFinished()
{
    // A close during an access stops the access first; the window closes once it has ended.
    if (m_closeAfterAccess) {
        access().reportStopForClose();
        QTimer::singleShot(0, this, [this] { close(); });
        return;
    }
    if (!m_fileAfterAccess.isEmpty()) {
        QTimer::singleShot(0, this,
                           [this] { openFileFromOutside(std::exchange(m_fileAfterAccess, {})); });
    }
}

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
    devicePanel().fillFixedAccessSizes();
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
    if (access().running()) {
        // A write is stopped only when the user agrees: the part is left partly written.
        if (!m_closeAfterAccess && access().confirmStopForClose()) {
            m_closeAfterAccess = true;
            access().cancel();
        }
        event->ignore();
        return;
    }
    if (!mayDiscard(m_services.state.unsaved, m_services.dialogs)) {
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
    if (access().running()) {
        m_fileAfterAccess = path;
        return;
    }
    imageFileCommands().loadFile(path);
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
    if (!access().running() && !droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (access().running() || path.isEmpty()) return;
    event->acceptProposedAction();
    // Loaded once the drop is over: a message box inside the drop would hold up the program the
    // file came from.
    QTimer::singleShot(0, this, [this, path] { imageFileCommands().loadFile(path); });
}
