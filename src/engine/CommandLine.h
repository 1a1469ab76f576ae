#pragma once

#include <QByteArrayList>
#include <QString>
#include <optional>

struct CommandLineOptions {
    QString configDir;  // where param.ini is read and written; empty: the default place
    QString profile;    // loaded once start-up has finished
    bool start = false; // press the start button once the profile is loaded
    bool minimized = false;
    bool quiet = false;    // message boxes go to standard error
    bool printLog = false; // log lines also go to standard output
    bool terminal = false; // no window: the on-screen panel is printed in the terminal
    bool detect = false;   // look for the panels the machine reaches and write the settings
    QString edit;          // opened in the profile editor once start-up has finished
};

struct ParsedCommandLine {
    std::optional<CommandLineOptions> options; // empty: the program ends at once
    QString output;                            // help, version or error text
    int exitCode = 0;
};

// The arguments of main, the program's name first.
ParsedCommandLine parseCommandLine(const QByteArrayList& arguments);

// main's arguments, decoded from the locale's encoding and read; the help, the version or a
// mistake is printed (standard output or error) and gives nothing, with the status to end with.
std::optional<CommandLineOptions> readCommandLine(int argc, char* argv[], int& exitCode);
