#include "app/ProgramIcon.h"

// Outside any namespace: Q_INIT_RESOURCE declares the resource's function where it stands.
QIcon ProgramIcon()
{
    Q_INIT_RESOURCE(ProgramIcon); // the resource lives in a static library
    return QIcon(QStringLiteral(":/tarvel.svg"));
}
