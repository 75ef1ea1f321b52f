#include "ui/gui/ApplicationSetup.h"

#include "ui/gui/ProductLogo.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ApplicationSetup {

bool installJapaneseQtTranslations(QCoreApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

void apply(QApplication& application)
{
    installJapaneseQtTranslations(application);
    QApplication::setWindowIcon(ProductLogo::icon());
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
}

}  // namespace ApplicationSetup
