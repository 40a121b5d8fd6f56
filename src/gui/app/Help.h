#pragma once
// The one way into the help: every "&Помощь" button and help command asks for a topic number
// here. The main window's help layer gives it its real body.
class QWidget;

void ShowHelpTopic(QWidget *parent, int topic);
