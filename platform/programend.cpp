#include "programend.h"

#include <QCoreApplication>

namespace quorvela {

void QtProgramEnder::endProgram(int exitCode)
{
    exitCode_ = exitCode;
    QCoreApplication::exit(exitCode);
}

} // namespace quorvela
