#pragma once
// The toolkit's own texts in Russian: standard buttons, the file, colour, font, input, print and
// page dialogs, the text fields' context menus. Debian ships the toolkit's Russian catalogs in
// qt6-translations-l10n; the catalog of each toolkit module the program uses is loaded (Core,
// Gui, Widgets, PrintSupport and Network are all in qtbase's; Svg has no texts). Qt 6 moved a
// few texts to classes the catalog of Qt 6.4 does not know yet (the file dialog's type column
// calls a folder "Folder"); those few are given here, and the catalog's own wins where it has one.
class QCoreApplication;

// Installs the translations into app; they live as long as app does. Returns false when the
// toolkit's catalog is not installed (the toolkit's texts then stay English, ours Russian).
bool InstallToolkitTranslations(QCoreApplication *app);
