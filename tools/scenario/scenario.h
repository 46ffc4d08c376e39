#pragma once
// The scenario runner: plays scripted user actions against the window logic of
// both programs in virtual time, on private platform services, and prints what a
// user would notice as a transcript.

#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/registry_api.h"
#include "registry/general.h"
#include "runtime/call_log.h"
#include "runtime/dialogs.h"
#include "runtime/forms.h"

namespace tv::scenario {

class ScenarioError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

using Args = std::vector<std::string>;

// Longest "wait": every timer tick in it is played, so a day is already many of them.
inline constexpr long long kMaxWaitSeconds = 24 * 60 * 60;

// Splits one script line into words: blanks separate, '...' is literal, "..." holds
// blanks and the escapes \" \\ \n \r \t. Throws ScenarioError on an open quote.
Args splitWords(const std::string& line);

// Message boxes print as call lines; input boxes take the queued answers.
class ScriptDialogs : public Dialogs {
  public:
    explicit ScriptDialogs(CallLog& calls) : calls_(calls) {}
    void MsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    void queueAnswer(std::optional<std::string> answer) { answers_.push_back(std::move(answer)); }

  private:
    CallLog& calls_;
    std::deque<std::optional<std::string>> answers_;
};

class Scenario {
  public:
    using Handler = std::function<void(Scenario&, const Args&)>;

    // registry: the store to use (private to the run, unless the user chose one).
    Scenario(std::ostream& out, std::unique_ptr<RegistryApi> registry);
    ~Scenario();

    std::ostream& out() { return out_; }
    VirtualClock& clock() { return clock_; }
    FormRuntime& runtime() { return runtime_; }
    CallLog& calls() { return calls_; }
    RegistryApi& registry() { return *registry_; }
    ScriptDialogs& dialogs() { return dialogs_; }
    General& general() { return *general_; }
    const std::string& appTitle() const { return appTitle_; }
    void setAppTitle(std::string title);

    // A command of one word ("wait") or of two ("start tolvane"); two-word names win.
    void addCommand(const std::string& name, Handler handler);
    // Run at the end of the script, before the services go (unload windows, ...).
    void atFinish(std::function<void()> cleanup) { finish_.push_back(std::move(cleanup)); }

    // Runs a whole script; throws ScenarioError naming the line.
    void run(std::istream& script);
    void finish();

    // Looks up FORM.CONTROL, or CONTROL in the loaded windows, frontmost first.
    Control& control(const std::string& name);
    Form& form(const std::string& name);

    static double number(const std::string& word);
    static long long integer(const std::string& word);
    static void expectArgs(const Args& args, size_t min, size_t max, const char* usage);

  private:
    void execute(const Args& words);

    std::ostream& out_;
    VirtualClock clock_;
    FormRuntime runtime_{clock_};
    CallLog calls_;
    std::unique_ptr<RegistryApi> registry_;
    ScriptDialogs dialogs_{calls_};
    std::string appTitle_ = "Tolvane";
    std::unique_ptr<General> general_;
    std::map<std::string, Handler> commands_;
    std::vector<std::function<void()>> finish_;
    bool finished_ = false;
};

// Commands every run has: app, registry, wait, print, dump, click, select, answer ...
void addCoreCommands(Scenario& scenario);

}  // namespace tv::scenario
