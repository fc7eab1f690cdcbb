#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtTranslations(QCoreApplication& AApplication) {
    auto* Translator = new QTranslator(&AApplication);
    if (!Translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete Translator;
        return false;
    }
    return QCoreApplication::installTranslator(Translator);
}
