#pragma once
// The one way into the help: every "&Помощь" button and help command comes here. The help is a
// set of HTML pages beside the program, opened in the desktop's browser:
//   HelpDir + "Tarvelian/index.html"      contents of the program's help
//   HelpDir + "Tarvelian/topic-N.html"    topic N
//   HelpDir + "ustav97/topic-N.html"      the mine-rescue regulations
//   HelpDir + "Tarvelian/help.html"       how to use the help
// A page that is not there is named in an information box instead. HelpDir is the settings'
// folder of the help; without settings it is "Help" in the current folder.
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

// The three requests on a help file (the folder under HelpDir, e.g. "Tarvelian"):
// topic 0 is the contents page, a negative topic the help on help.
QString HelpPagePath(const QString &helpFile, int topic);
void ShowHelpPage(QWidget *parent, const QString &helpFile, int topic);

// The settings name the help folder through this (an empty answer: no settings now).
void SetHelpDirSource(std::function<QString()> source);
