#pragma once

#include <QString>
#include <functional>

class Engine;
class QMenu;

// Fills `menu` with every variable, a submenu for each source, each entry with its label and
// its value now (« %%mem_l — mémoire libre (Mo) : 96,50 ») and the variable as its data;
// `chosen` is given the variable of the entry chosen.
void fillVariableMenu(QMenu& menu, const Engine& engine,
                      const std::function<void(const QString&)>& chosen);
