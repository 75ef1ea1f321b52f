// vorle6-cli: the programmer board from scripts and production lines.
#include "cli/CliProgram.h"
#include "cli/InterruptSignal.h"
#include "link/PortClaim.h"
#include "link/SystemLinkFactory.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorle6-cli"));

    QFile input;
    QFile output;
    QFile errors;
    input.open(STDIN_FILENO, QIODevice::ReadOnly);
    output.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    errors.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);

    SystemLinkFactory links;
    CliEnvironment environment;
    environment.appFolder = QCoreApplication::applicationDirPath();
    environment.claimFolder = PortClaim::defaultFolder();
    environment.input = &input;
    environment.output = &output;
    environment.errors = &errors;
    environment.errorsAreTerminal = ::isatty(STDERR_FILENO) == 1;
    environment.links = &links;

    CliProgram program(environment);
    InterruptSignal interrupt;
    QObject::connect(&interrupt, &InterruptSignal::interrupted, &program, &CliProgram::interrupt);
    return program.run(QCoreApplication::arguments());
}
