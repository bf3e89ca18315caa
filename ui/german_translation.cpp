#include "ui/german_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pnl::ui {

bool loadGermanTranslation(QCoreApplication& application) {
    // Owned by the application: it translates until the program ends.
    auto* translator = new QTranslator(&application);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    return QCoreApplication::installTranslator(translator);
}

}  // namespace pnl::ui
