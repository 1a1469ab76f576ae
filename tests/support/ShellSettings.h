#pragma once

#include <QByteArray>

// Settings of a serial panel that nobody reads, and a profile of two pages that share a
// scrolling line: the first stays 3 s, the second for good.
inline const QByteArray kShellSettings = "[parametres]\nTypeLCD=2\nCOM=1\nC=20\nL=4\ncontrast=0\n"
                                         "backlight=0\nrefresh=300\nscrolling=0\n"
                                         "rep_winamp=\nrep_seti=/seti/\nrep_HL=\n";

inline const QByteArray kTwoPages = "[param]\nnb_pages=2\nplein=#\nvide=-\nIp_Local_Ex=\n"
                                    "[page_1]\nligne0=Commun\nligne1=Un\nligne2=\nligne3=\n"
                                    "scroll0=2\nscroll1=0\nscroll2=0\nscroll3=0\ntime=3\nnext=2\n"
                                    "[page_2]\nligne0=Commun\nligne1=Deux\nligne2=\nligne3=\n"
                                    "scroll0=2\nscroll1=1\nscroll2=0\nscroll3=0\ntime=0\nnext=0\n";
