#include "ui/gui/ApplicationSetup.h"

#include "ui/ProgramTranslations.h"
#include "ui/gui/ProductLogo.h"

#include <QApplication>
#include <QTranslator>

namespace ApplicationSetup {

bool installJapaneseQtTranslations(QCoreApplication& application)
{
    std::unique_ptr<QTranslator> translator = ProgramTranslations::qtJapanese();
    if (!translator) return false;
    translator->setParent(&application);
    QCoreApplication::installTranslator(translator.release());
    return true;
}

void apply(QApplication& application)
{
    application.setWindowIcon(ProductLogo::icon());
    application.setDesktopFileName(QString::fromLatin1(kDesktopId));
}

}  // namespace ApplicationSetup
