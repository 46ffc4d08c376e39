// Commands of every run: registry set-up and calls, virtual time, printing state,
// and the user's generic actions on controls.

#include <cmath>
#include <ostream>

#include "runtime/numbers.h"
#include "tools/scenario/scenario.h"

namespace tv::scenario {

namespace {

struct KeyPath {
    HKEY root;
    std::string subKey;
};

KeyPath parseKeyPath(const std::string& path) {
    size_t slash = path.find('\\');
    std::string rootName = slash == std::string::npos ? path : path.substr(0, slash);
    HKEY root = General::RootKeyFromName(rootName);
    if (root == 0) {
        throw ScenarioError("unknown root key in " + path);
    }
    return {root, slash == std::string::npos ? std::string() : path.substr(slash + 1)};
}

void registrySet(Scenario& s, const Args& args) {
    Scenario::expectArgs(args, 3, 3, "registry set PATH NAME TEXT");
    KeyPath path = parseKeyPath(args[0]);
    HKEY key = 0;
    if (s.registry().RegCreateKeyExA(path.root, path.subKey, &key) != ERROR_SUCCESS) {
        throw ScenarioError("cannot create key " + args[0]);
    }
    const std::string& text = args[2];
    std::string data = text + '\0';
    long result = s.registry().RegSetValueExA(key, args[1], 0, REG_SZ,
                                              reinterpret_cast<const std::uint8_t*>(data.data()),
                                              static_cast<std::uint32_t>(data.size()));
    s.registry().RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        throw ScenarioError("cannot set value " + args[1]);
    }
}

void registryRemove(Scenario& s, const Args& args) {
    Scenario::expectArgs(args, 2, 2, "registry remove PATH NAME");
    KeyPath path = parseKeyPath(args[0]);
    HKEY key = 0;
    if (s.registry().RegOpenKeyExA(path.root, path.subKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) {
        return;  // nothing to remove
    }
    s.registry().RegDeleteValueA(key, args[1]);
    s.registry().RegCloseKey(key);
}

void printItem(Scenario& s, const std::string& item) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (int i = 0; i < 2; ++i) {
        size_t dot = item.find('.', start);
        if (dot == std::string::npos) {
            break;
        }
        parts.push_back(item.substr(start, dot - start));
        start = dot + 1;
    }
    parts.push_back(item.substr(start));
    if (parts.size() < 2) {
        throw ScenarioError("print takes FORM.PROPERTY or FORM.CONTROL.PROPERTY: " + item);
    }
    Form* form = s.runtime().findForm(parts[0]);
    if (form == nullptr || !form->isLoaded()) {
        if (form == nullptr && !s.runtime().isDeclared(parts[0])) {
            throw ScenarioError("no window " + parts[0]);
        }
        s.out() << item << " = (not loaded)\n";
        return;
    }
    std::optional<PropValue> value;
    if (parts.size() == 2) {
        value = form->property(parts[1]);
    } else {
        Control* control = form->find(parts[1]);
        if (control == nullptr) {
            throw ScenarioError("no control " + parts[0] + "." + parts[1]);
        }
        value = control->property(parts[2]);
    }
    if (!value) {
        throw ScenarioError("no property " + item);
    }
    s.out() << item << " = " << formatProperty(*value) << '\n';
}

void dump(Scenario& s) {
    for (Form* form : s.runtime().loadedForms()) {
        PropertyList own;
        form->properties(own);
        for (auto& [name, value] : own) {
            s.out() << form->name() << '.' << name << " = " << formatProperty(value) << '\n';
        }
        for (Control* control : form->controls()) {
            PropertyList list;
            control->properties(list);
            for (auto& [name, value] : list) {
                s.out() << form->name() << '.' << control->name() << '.' << name << " = "
                        << formatProperty(value) << '\n';
            }
        }
    }
}

// A mouse event on a window's background or on a control, in client pixels.
void mouseEvent(Scenario& s, const Args& args, const char* usage,
                void (Control::*onControl)(int, double, double) const) {
    Scenario::expectArgs(args, 1, 4, usage);
    if (args.size() == 2) {
        throw ScenarioError(std::string("usage: ") + usage);
    }
    double x = args.size() > 1 ? Scenario::number(args[1]) : 0;
    double y = args.size() > 2 ? Scenario::number(args[2]) : 0;
    int button = args.size() == 4 ? static_cast<int>(Scenario::integer(args[3])) : 0;
    Form* form = s.runtime().findForm(args[0]);
    if (form != nullptr && onControl == &Control::mouseMove) {
        if (!form->isLoaded()) {
            throw ScenarioError("window " + args[0] + " is not loaded");
        }
        if (form->onMouseMove) {
            form->onMouseMove(button, x, y);
        }
        return;
    }
    (s.control(args[0]).*onControl)(button, x, y);
}

}  // namespace

void addCoreCommands(Scenario& scenario) {
    scenario.addCommand("app", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "app tolvane|vantrel");
        if (args[0] == "tolvane") {
            s.setAppTitle("Tolvane");
        } else if (args[0] == "vantrel") {
            s.setAppTitle("Vantrel");
        } else {
            throw ScenarioError("unknown program " + args[0]);
        }
    });
    scenario.addCommand("registry set", registrySet);
    scenario.addCommand("registry remove", registryRemove);
    scenario.addCommand("registry read", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 2, 2, "registry read PATH NAME");
        std::string text = s.general().RegReadString(args[0], args[1]);
        s.out() << "= " << quoteText(text) << '\n';
    });
    scenario.addCommand("registry write", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 3, 3, "registry write PATH NAME TEXT");
        s.general().RegWriteString(args[0], args[1], args[2]);
    });
    scenario.addCommand("registry deletevalue", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 3, 3, "registry deletevalue ROOT SUBKEY NAME");
        long long root = Scenario::integer(args[0]);
        if (root < 0 || root > 0xFFFFFFFFLL) {
            throw ScenarioError("root out of range: " + args[0]);
        }
        bool deleted = s.general().RegDeleteValueAt(static_cast<HKEY>(root), args[1], args[2]);
        s.out() << "= " << (deleted ? "True" : "False") << '\n';
    });
    scenario.addCommand("wait", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "wait SECONDS");
        double seconds = Scenario::number(args[0]);
        if (seconds < 0 || seconds > kMaxWaitSeconds) {
            throw ScenarioError("wait takes 0 to " + std::to_string(kMaxWaitSeconds) +
                                " seconds (one day): " + args[0]);
        }
        auto ms = static_cast<long long>(std::llround(seconds * 1000));
        s.runtime().runTimersUntil(s.clock().nowMs() + ms);
    });
    scenario.addCommand("print", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 1, 1000, "print ITEM ...");
        for (const std::string& item : args) {
            printItem(s, item);
        }
    });
    scenario.addCommand("dump", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 0, 0, "dump");
        dump(s);
    });
    scenario.addCommand("click", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "click CONTROL");
        s.control(args[0]).click();
    });
    scenario.addCommand("select", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 2, 2, "select CONTROL INDEX|\"TEXT\"");
        auto* list = dynamic_cast<ListControl*>(&s.control(args[0]));
        if (list == nullptr) {
            throw ScenarioError(args[0] + " has no entries to choose from");
        }
        int index = -1;
        bool numeric =
            !args[1].empty() && args[1].find_first_not_of("0123456789") == std::string::npos;
        if (numeric) {
            index = static_cast<int>(Scenario::integer(args[1]));
        } else {
            for (int i = 0; i < list->ListCount(); ++i) {
                if (list->List()[static_cast<size_t>(i)] == args[1]) {
                    index = i;
                    break;
                }
            }
        }
        if (index < 0 || index >= list->ListCount()) {
            throw ScenarioError("no entry " + args[1] + " in " + args[0]);
        }
        list->setListIndex(index);
    });
    scenario.addCommand("answer", [](Scenario& s, const Args& args) {
        Scenario::expectArgs(args, 1, 1, "answer \"TEXT\"|cancel");
        if (args[0] == "cancel") {
            s.dialogs().queueAnswer(std::nullopt);
        } else {
            s.dialogs().queueAnswer(args[0]);
        }
    });
    scenario.addCommand("mousemove", [](Scenario& s, const Args& args) {
        mouseEvent(s, args, "mousemove CONTROL [X Y [BUTTON]]", &Control::mouseMove);
    });
    scenario.addCommand("mousedown", [](Scenario& s, const Args& args) {
        mouseEvent(s, args, "mousedown CONTROL [X Y [BUTTON]]", &Control::mouseDown);
    });
    scenario.addCommand("mouseup", [](Scenario& s, const Args& args) {
        mouseEvent(s, args, "mouseup CONTROL [X Y [BUTTON]]", &Control::mouseUp);
    });
}

}  // namespace tv::scenario
