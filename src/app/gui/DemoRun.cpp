#include "app/gui/DemoRun.h"

#include "app/gui/MainWindow.h"
#include "base/SettingsStore.h"
#include "devices/PartLookup.h"
#include "link/LinkSettings.h"
#include "link/PortDevices.h"
#include "session/ProgramState.h"

#include <QComboBox>

bool DemoRun::requested(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == u"--") return false;
        if (arguments.at(i) == u"--demo") return true;
    }
    return false;
}

QString DemoRun::start(MainWindow& window)
{
    using namespace SettingsKeys;
    const QString part = QString::fromLatin1(kPart);
    const int index = PartLookup(m_state.catalogue).indexOf(part);
    SelectedDevice device;
    if (index < 0 || !SelectedDevice::fromRecord(m_state.catalogue.record(index), device)) {
        return tr("デモ用のデバイス %1 が vorle6.ini にないため、ボードエミュレーターを使わずに"
                  "起動しました。")
            .arg(part);
    }
    const DemoBoard::Problem problem =
        m_board.start(m_state.appFolder + QStringLiteral("qzpgm-sim"),
                      m_state.appFolder + QStringLiteral("vorle6.ini"), part, device.memorySize());
    if (problem != DemoBoard::Problem::None) return problemText(problem, m_board.detail());

    // Held before the device is selected, which stores its choices.
    const LinkSettings link = LinkSettings::stored(m_settings);
    m_settings.holdForThisRun(kPorts, portKey(link.portNumber), m_board.devicePath());
    for (const QString& key : {kDut, kAccessSize}) {
        m_settings.holdForThisRun(kSettings, key, m_settings.get(kSettings, key, QString()));
    }
    MainWindowControls& controls = window.controls();
    controls.Combo_device->setCurrentIndex(index);
    controls.CmbSize->setCurrentIndex(controls.CmbSize->count() - 1);
    window.statusPanels().setText(
        1, tr("デモ: %1 (%2) はボードエミュレーターの %3 です。［Block Read］で読み出せます。")
               .arg(link.portName(), m_board.devicePath(), part));
    return {};
}

QString DemoRun::problemText(DemoBoard::Problem problem, const QString& detail)
{
    QString reason;
    switch (problem) {
        case DemoBoard::Problem::None:
            return {};
        case DemoBoard::Problem::ProgramMissing:
            reason = tr("ボードエミュレーター %1 がありません。").arg(detail);
            break;
        case DemoBoard::Problem::NotStarted:
            reason = tr("ボードエミュレーターを起動できませんでした: %1").arg(detail);
            break;
        case DemoBoard::Problem::Ended:
            reason = tr("ボードエミュレーターがすぐに終了しました: %1").arg(detail);
            break;
        case DemoBoard::Problem::NoDevice:
            reason = tr("ボードエミュレーターが通信ポートを用意しませんでした。");
            break;
        case DemoBoard::Problem::NoImage:
            reason = tr("サンプルイメージを書き込めませんでした: %1").arg(detail);
            break;
    }
    return reason + tr("\nデモのボードなしで、通常どおり起動しました。");
}
