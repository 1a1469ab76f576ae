#include "platform/CommandLineParser.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>

namespace cli {

QString parse(const QByteArrayList& arguments, const std::vector<Option>& options,
              QByteArrayList* operands) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray& argument = arguments[i];
        const qsizetype equals = argument.startsWith("--") ? argument.indexOf('=') : -1;
        const QByteArray name = equals < 0 ? argument : argument.left(equals);
        const auto option = std::find_if(options.begin(), options.end(), [&](const Option& o) {
            return name == o.name || (o.shortName && equals < 0 && name == o.shortName);
        });
        const QString shown = QString::fromLocal8Bit(name);
        if (option == options.end()) {
            if (argument.startsWith("--") || (argument.startsWith('-') && !operands)) {
                return QCoreApplication::translate("CommandLineParser", "option inconnue : %1")
                    .arg(shown);
            }
            if (!operands) {
                return QCoreApplication::translate("CommandLineParser", "argument inattendu : %1")
                    .arg(QString::fromLocal8Bit(argument));
            }
            operands->append(argument);
        } else if (!option->value) {
            if (equals >= 0) {
                return QCoreApplication::translate("CommandLineParser",
                                                   "l'option %1 ne prend pas de valeur")
                    .arg(shown);
            }
            option->flag();
        } else if (equals < 0 && i + 1 >= arguments.size()) {
            return QCoreApplication::translate("CommandLineParser", "il manque une valeur après %1")
                .arg(shown);
        } else {
            const QByteArray value = equals < 0 ? arguments[++i] : argument.mid(equals + 1);
            if (const QString wrong = option->value(value); !wrong.isEmpty()) {
                return shown + QStringLiteral(" : ") + wrong;
            }
        }
    }
    return QString();
}

QByteArrayList arguments(int argc, char** argv) {
    QByteArrayList list;
    for (int i = 1; i < argc; ++i) {
        list.append(QByteArray(argv[i], qsizetype(std::strlen(argv[i]))));
    }
    return list;
}

QString mistakeText(const QString& program, const QString& mistake) {
    return QCoreApplication::translate("CommandLineParser",
                                       "%1 : %2\n%1 --help donne la liste des options.\n")
        .arg(program, mistake);
}

} // namespace cli
