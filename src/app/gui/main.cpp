#include "app/gui/DemoRun.h"
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "base/InstanceLock.h"
#include "ui/gui/ApplicationSetup.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ApplicationSetup::apply(app);

    Startup::Environment environment;
    environment.appFolder = QCoreApplication::applicationDirPath();
    environment.lockFilePath = InstanceLock::defaultPath();
    // Taken before start-up makes the program's folder the current one.
    const QStringList arguments = QCoreApplication::arguments();
    environment.fileToLoad = Startup::fileFromArguments(arguments, QDir::currentPath());
    environment.language = Startup::languageFromArguments(arguments);
    environment.demo = DemoRun::requested(arguments);
    Startup startup(environment);
    if (!startup.run()) return 0;

    QObject::connect(startup.mainWindow(), &MainWindow::unloaded, &app, &QCoreApplication::quit);
    return app.exec();
}
