#pragma once

#include <QList>
#include <QString>

// The sources the editor's « Insérer une variable » menu groups the variables by.
enum class VariableGroup { System, Sensors, MediaPlayer, Seti, HalfLife, Outside };

// One %% variable as the editor offers it: what is inserted, and a short label in the program's
// language.
struct CatalogueVariable {
    VariableGroup group;
    QString name;  // "%%mem_l"
    QString label; // "mémoire libre (Mo)"
    // Whether its value is a plain number a bargraph line can take: no digit grouping, no
    // colons, within the 16-bit range in normal use.
    bool numeric = false;
};

// Every variable the expansion replaces, group by group in the order of the menu, labelled in
// the language installed now.
QList<CatalogueVariable> variableCatalogue();
QString groupLabel(VariableGroup group); // « Système », « Capteurs », …
