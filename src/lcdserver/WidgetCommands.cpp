// widget_add, widget_set and widget_del, as LCDd 0.5.9 answers them.
#include "lcdserver/CommandSupport.h"
#include "lcdserver/LcdIcons.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <tuple>

namespace lcdserver {
namespace {

std::optional<WidgetType> typeOf(QByteArrayView word) {
    static constexpr std::pair<const char*, WidgetType> kTypes[] = {
        {"string", WidgetType::String}, {"hbar", WidgetType::HBar},
        {"vbar", WidgetType::VBar},     {"icon", WidgetType::Icon},
        {"title", WidgetType::Title},   {"scroller", WidgetType::Scroller},
        {"frame", WidgetType::Frame},   {"num", WidgetType::Num}};
    for (const auto& [name, type] : kTypes) {
        if (word == name) {
            return type;
        }
    }
    return std::nullopt;
}

ServerWidget* findWidget(ServerScreen& s, QByteArrayView id) {
    const auto it = std::find_if(s.widgets.begin(), s.widgets.end(),
                                 [&](const ServerWidget& w) { return w.id == id; });
    return it == s.widgets.end() ? nullptr : &*it;
}

// What a scroll depends on: a change restarts it, the same values sent again do not (clients
// send their widgets again at every update).
auto scrollState(const ServerWidget& w) {
    return std::tie(w.left, w.top, w.right, w.bottom, w.length, w.text, w.direction, w.speed,
                    w.width, w.height);
}

bool coordinates(Command& c, int count) {
    for (int i = 3; i < 3 + count; ++i) {
        if (!startsWithDigit(c.args[i])) {
            c.huh("Invalid coordinates");
            return false;
        }
    }
    return true;
}

// A scroller's or a frame's box: its four edges, `sizes` more numbers (a frame's inner width and
// height), its direction, one of `directions`, and its speed. False once it has answered an error.
bool readBox(Command& c, ServerWidget& w, int sizes, const char* directions) {
    if (!coordinates(c, 4 + sizes)) {
        return false;
    }
    const QByteArrayView direction = c.args[7 + sizes];
    if (direction.isEmpty() || !std::strchr(directions, direction[0])) {
        c.huh("Invalid direction");
        return false;
    }
    w.left = lcdAtoi(c.args[3]);
    w.top = lcdAtoi(c.args[4]);
    w.right = lcdAtoi(c.args[5]);
    w.bottom = lcdAtoi(c.args[6]);
    if (sizes > 0) {
        w.width = lcdAtoi(c.args[7]);
        w.height = lcdAtoi(c.args[8]);
    }
    w.direction = direction[0];
    w.speed = lcdAtoi(c.args[8 + sizes]);
    return true;
}

// The arguments after the screen and widget ids; each type takes its own. LCDd answers
// "success" after some of its errors too, and so does this.
void setWidget(Command& c, ServerWidget& w) {
    const auto& a = c.args;
    const auto wrongCount = [&](qsizetype expected) {
        if (c.argc() != expected) {
            c.huh("Wrong number of arguments");
            return true;
        }
        return false;
    };
    switch (w.type) {
    case WidgetType::String:
        if (!wrongCount(6) && coordinates(c, 2)) {
            w.left = lcdAtoi(a[3]);
            w.top = lcdAtoi(a[4]);
            w.text = clientText(a[5]);
            c.success();
        }
        break;
    case WidgetType::HBar:
    case WidgetType::VBar:
        if (!wrongCount(6)) {
            if (coordinates(c, 2)) {
                w.left = lcdAtoi(a[3]);
                w.top = lcdAtoi(a[4]);
                w.length = lcdAtoi(a[5]);
            }
            c.success();
        }
        break;
    case WidgetType::Icon:
        if (!wrongCount(6) && coordinates(c, 2)) {
            if (!lcdIcon(a[5])) {
                c.huh("Invalid icon name");
            } else {
                w.left = lcdAtoi(a[3]);
                w.top = lcdAtoi(a[4]);
                w.text = a[5].toByteArray();
                c.success();
            }
        }
        break;
    case WidgetType::Title:
        if (!wrongCount(4)) {
            w.text = clientText(a[3]);
            c.success();
        }
        break;
    case WidgetType::Scroller:
        if (!wrongCount(10) && readBox(c, w, 0, "hvm")) {
            w.text = clientText(a[9]);
            c.success();
        }
        break;
    case WidgetType::Frame:
        if (!wrongCount(11) && readBox(c, w, 2, "hv")) {
            c.success();
        }
        break;
    case WidgetType::Num:
        if (!wrongCount(5)) {
            if (!startsWithDigit(a[3])) {
                c.huh("Invalid coordinates");
            } else if (!startsWithDigit(a[4])) {
                c.huh("Invalid number");
            } else {
                w.left = lcdAtoi(a[3]);
                w.length = lcdAtoi(a[4]);
            }
            c.success();
        }
        break;
    }
}

} // namespace

void widgetAdd(Command& c) {
    if (c.argc() < 4 || c.argc() > 6) {
        c.huh("Usage: widget_add <screenid> <widgetid> <widgettype> [-in <id>]");
        return;
    }
    ServerScreen* s = namedScreen(c, "Invalid screen id");
    if (!s) {
        return;
    }
    const auto type = typeOf(c.args[3]);
    if (!type) {
        c.huh("Invalid widget type");
        return;
    }
    QByteArray in;
    if (c.argc() > 4 && (c.args[4] == "in" || c.args[4] == "-in")) {
        if (c.argc() < 6) {
            c.huh("Specify a frame to place widget in");
            return;
        }
        const ServerWidget* frame = findWidget(*s, c.args[5]);
        if (!frame || frame->type != WidgetType::Frame) {
            c.huh("Error finding frame");
            return;
        }
        in = frame->id;
    }
    // LCDd takes a second widget of the same id, which widget_set never reaches: the first
    // stays, and the answer is the same.
    if (!findWidget(*s, c.args[2])) {
        if (s->widgets.size() >= kMaxWidgetsPerScreen) {
            c.huh("Error adding widget: at most " + QByteArray::number(kMaxWidgetsPerScreen) +
                  " widgets per screen");
            return;
        }
        ServerWidget widget;
        widget.id = c.args[2].toByteArray();
        widget.type = *type;
        widget.in = in;
        widget.length = 1; // LCDd's start: a num widget shows a 1 until it is set
        widget.setAt = c.tick;
        s->widgets.push_back(std::move(widget));
    }
    c.success();
}

void widgetDel(Command& c) {
    if (c.argc() != 3) {
        c.huh("Usage: widget_del <screenid> <widgetid>");
        return;
    }
    ServerScreen* s = namedScreen(c, "Invalid screen id");
    if (!s) {
        return;
    }
    if (!findWidget(*s, c.args[2])) {
        c.huh("Invalid widget id");
        return;
    }
    // A frame goes with what it holds; a frame comes before its widgets in the list.
    std::set<QByteArray> gone{c.args[2].toByteArray()};
    for (const ServerWidget& w : s->widgets) {
        if (!w.in.isEmpty() && gone.count(w.in)) {
            gone.insert(w.id);
        }
    }
    std::erase_if(s->widgets, [&](const ServerWidget& w) { return gone.count(w.id) > 0; });
    c.success();
}

void widgetSet(Command& c) {
    if (c.argc() < 4) {
        c.huh("Usage: widget_set <screenid> <widgetid> <widget-SPECIFIC-data>");
        return;
    }
    ServerScreen* s = namedScreen(c, "Unknown screen id");
    if (!s) {
        return;
    }
    ServerWidget* w = findWidget(*s, c.args[2]);
    if (!w) {
        c.huh("Unknown widget id");
        return;
    }
    const ServerWidget before = *w;
    setWidget(c, *w);
    if (scrollState(before) != scrollState(*w)) {
        w->setAt = c.tick;
    }
}

} // namespace lcdserver
