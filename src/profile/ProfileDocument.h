#pragma once

#include "platform/IniFile.h"
#include "profile/PageModel.h"

#include <QList>
#include <QString>
#include <array>

// One line of a page as the editor holds it: the text as the user typed it (any character; the
// panel's Windows-1252 bytes are made from it when it is drawn or saved) and its scroll mode.
struct EditedLine {
    QString text;
    qint16 scroll = kScrollFixed;
    friend bool operator==(const EditedLine&, const EditedLine&) = default;
};

// One page: its four lines, the seconds it stays (0: for good) and the page that follows it
// (0: none, the rotation stops).
struct EditedPage {
    std::array<EditedLine, kLinesPerPage> lines{};
    qint16 time = 5;
    qint16 next = 0;
    friend bool operator==(const EditedPage&, const EditedPage&) = default;
};

// A profile being edited: what it says, and the file it came from, whose every other byte a save
// keeps (comments, unknown keys and sections, line endings, encoding).
struct ProfileDocument {
    QString path;  // empty until it is saved the first time
    IniFile file;  // as read; a save writes the changed keys into a copy of it
    QString plein; // the profile's [param] keys
    QString vide;
    QString ipLocalEx;
    QList<EditedPage> pages; // page n of the file is pages[n - 1]; at most kLastPage
};

// The profile at `path` as the loader would read it: nb_pages pages (brought into 0..50), each
// key missing or not a number read as the loader reads it.
ProfileDocument openProfileDocument(const QString& path);
// A new profile: a copy of the profile at `demoPath` with no path, or, when `demoPath` is empty,
// one empty page that loops on itself and the usual bargraph cells.
ProfileDocument newProfileDocument(const QString& demoPath = {});

// The page operations keep the rotation: every `next` that named a page that moved names it at
// its new number; one that named a deleted page names the page that took its place, or 0 when
// none did. `at` counts from 0. Operations beyond kLastPage pages, or on a page that does not
// exist, do nothing and answer false.
bool addPage(ProfileDocument& document, int at);
bool duplicatePage(ProfileDocument& document, int at); // the copy goes right after it
bool deletePage(ProfileDocument& document, int at);
bool movePage(ProfileDocument& document, int from, int to);

// Writes the document to `path` (its own path when empty) through the INI writer: only the keys
// whose value changed are written, nb_pages included; the sections of pages past the new count
// are removed. Answers false, with the file untouched, when it cannot be written.
bool saveProfileDocument(ProfileDocument& document, const QString& path = {});

// The page as the loader would put it in the page table, for the preview and the trial on the
// panel: texts in the panel's character set, records fresh.
std::array<LineRecord, kLinesPerPage> pageRecords(const EditedPage& page);
ProfileParams profileParams(const ProfileDocument& document);
