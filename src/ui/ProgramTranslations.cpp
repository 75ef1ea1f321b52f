#include "ui/ProgramTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

ProgramTranslations::ProgramTranslations() = default;

ProgramTranslations::~ProgramTranslations() { remove(); }

QString ProgramTranslations::folderIn(const QString& appFolder)
{
    return appFolder + QStringLiteral(VORLE_TRANSLATIONS_FOLDER "/");
}

QString ProgramTranslations::fileBaseName(UiLanguage language)
{
    return QStringLiteral("vorle6_") + languageCode(language);
}

std::unique_ptr<QTranslator> ProgramTranslations::qtJapanese()
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    return translator;
}

bool ProgramTranslations::install(UiLanguage language, const QString& appFolder)
{
    remove();
    std::unique_ptr<QTranslator> translator;
    if (language == UiLanguage::Japanese) {
        translator = qtJapanese();
    } else {
        translator = std::make_unique<QTranslator>();
        if (!translator->load(fileBaseName(language), folderIn(appFolder))) translator.reset();
    }
    if (!translator) return false;
    QCoreApplication::installTranslator(translator.get());
    m_installed.push_back(std::move(translator));
    return true;
}

void ProgramTranslations::remove()
{
    for (const std::unique_ptr<QTranslator>& translator : m_installed) {
        QCoreApplication::removeTranslator(translator.get());
    }
    m_installed.clear();
}
