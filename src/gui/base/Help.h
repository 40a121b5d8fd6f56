#pragma once
// The one way into the help: every "&Помощь" button, F1 key and help command comes here. The
// help is a set of HTML pages in the help folder, shown in the program's own help window
// (THelpWindow):
//   HelpDir + "Tarvelian/index.html"      contents of the program's help
//   HelpDir + "Tarvelian/topic-N.html"    topic N
//   HelpDir + "Tarvelian/help.html"       how to use the help
//   HelpDir + "ustav97/topic-1.html"      the mine-rescue regulations, which the program does not
//                                         ship; without them "Tarvelian/ustav97.html" says where
//                                         they go
// A page that is not there is named in an information box instead. HelpDir is the settings'
// folder of the help; without settings it is "Help" in the current folder.
//
//   HelpDir + "Tarvelian/find.html"       a page by name, for the windows that have no topic
//                                         number
// Every topic a window opens needs its page in help/ru/ (the help pages test reads the topics
// from the code): give the topic as a number literal, or as a constant whose name holds "Help"
// (static constexpr int HelpContext = 12); a page by name likewise as a string literal, or a
// constant whose name holds "HelpPage" (static constexpr char HelpPage[] = "find.html").
#include <QSize>
#include <QString>
#include <functional>

class QWidget;

// Topic number of the program's help.
void ShowHelpTopic(QWidget *parent, int topic);
// Contents page of the program's help.
void ShowHelpContents(QWidget *parent);
// Topic 1 of the regulations ("ustav97").
void ShowRegulations(QWidget *parent);
// The help's own help.
void ShowHelpOnHelp(QWidget *parent);

// A page of the program's help by its file name.
void ShowHelpNamed(QWidget *parent, const QString &page);

// F1 anywhere in window opens its topic, or its page.
void InstallHelpKey(QWidget *window, int topic);
void InstallHelpKey(QWidget *window, const QString &page);

// The help folder, with a trailing "/".
QString HelpFolder();
// The three requests on a help file (the folder under HelpDir, e.g. "Tarvelian"):
// topic 0 is the contents page, a negative topic the help on help.
QString HelpPagePath(const QString &helpFile, int topic);
void ShowHelpPage(QWidget *parent, const QString &helpFile, int topic);

// The settings name the help folder through this (an empty answer: no settings now).
void SetHelpDirSource(std::function<QString()> source);
// ... and keep the help window's size from one run to the next through these.
void SetHelpWindowSizeStore(std::function<QSize()> read, std::function<void(QSize)> write);
QSize HelpWindowSize();            // invalid when nothing is kept
void KeepHelpWindowSize(QSize size);
