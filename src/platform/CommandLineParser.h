#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <functional>
#include <vector>

// A command line read the same way by every program of the package: "--name value",
// "--name=value", and a short form ("-h") where an option has one. Every other argument is an
// operand; one that begins with "--" is always taken for an option. Mistakes are told in French.
namespace cli {

// The exit status of a program whose command line has a mistake.
inline constexpr int kUsageError = 2;

struct Option {
    const char* name;                // "--name"
    const char* shortName = nullptr; // "-n"
    // An option with a value takes it here, and says what is wrong with it (empty: nothing).
    std::function<QString(const QByteArray& value)> value = {};
    // An option without a value.
    std::function<void()> flag = {};
};

// Reads `arguments`, those after the program's name, in order. Operands go to `operands`; where
// that is null, there may be none. Returns the first mistake, in one line, or an empty text.
QString parse(const QByteArrayList& arguments, const std::vector<Option>& options,
              QByteArrayList* operands);

// The arguments of main after the program's name, as they were given.
QByteArrayList arguments(int argc, char** argv);

// What a program says of a mistake on its command line: the mistake, then where the options are
// explained, on two lines.
QString mistakeText(const QString& program, const QString& mistake);

} // namespace cli
