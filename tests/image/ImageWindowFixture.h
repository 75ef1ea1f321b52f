#pragma once

#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowControls.h"
#include "base/DataFileReader.h"
#include "base/SettingsStore.h"
#include "devices/gui/DevicePanel.h"
#include "image/gui/ImageView.h"
#include "session/AppServices.h"
#include "session/ProgramState.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeUserDialogs.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <memory>

// The main window on the shipped data file, shown, with a device of the catalogue selected.
struct ImageWindowFixture {
    explicit ImageWindowFixture(const QString& device = QStringLiteral("24C02"))
    {
        state.appFolder = environment.appFolder();
        state.catalogue = DeviceCatalogue(readDataFile(state.appFolder + "vorle6.ini")->rows);
        window = std::make_unique<MainWindow>(AppServices{state, settings, dialogs, desktop});
        window->Form_Load();
        QStringList notices;
        window->devicePanel().fillDeviceList(notices);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("main window not active");
        selectDevice(device);
    }

    void selectDevice(const QString& name)
    {
        const int index = state.catalogue.indexOf(name);
        if (index < 0) qFatal("no device %s", qPrintable(name));
        c().Combo_device->setCurrentIndex(index);
    }

    [[nodiscard]] MainWindowControls& c() { return window->controls(); }
    [[nodiscard]] ImageView& view() { return window->imageView(); }
    [[nodiscard]] QString panel(int number) { return window->statusPanels().text(number); }
    [[nodiscard]] QString cell(int row, int column) { return view().cellText(row, column); }

    // A mouse click on grid cell (row, column), column 1..17.
    void clickCell(int row, int column)
    {
        QTableView* grid = c().MSFGrid1;
        const QModelIndex index = grid->model()->index(row - 1, column - 1);
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    }

    // Replaces the image and rebuilds the grid, as a file load does.
    void showImage(const QByteArray& bytes)
    {
        for (qint64 a = 0; a < bytes.size() && a < state.image.size(); ++a) {
            state.image.set(a, static_cast<std::uint8_t>(bytes.at(a)));
        }
        view().ShowImage();
    }

    [[nodiscard]] int byteAt(qint64 address) const { return state.image.at(address); }

    TestEnvironment environment;
    ProgramState state;
    SettingsStore settings;
    FakeUserDialogs dialogs;
    FakeDesktopOpener desktop;
    std::unique_ptr<MainWindow> window;
};
