#pragma once

#include "transfer/SendKinds.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CuCommands;
class IncidenceMonitorHooks;

// The order in which the user list reaches the central unit (and so the
// order of names on its displays): an index of `_AXOUSR`, or insertion order.
enum class UserSort { None, Name, User, Code, Door };
QString userSortIndex(UserSort sort); // "I_NAME", "I_USER", "I_CODE", "I_DOOR", "" for none

// What the send wizard shows while it works: the kind under way, then the
// compile bar (Barra1) and the write bar (Barra2) with their results.
struct SendListener {
    std::function<void(const QString &caption)> kindStarted;
    std::function<void(int maximum)> compileStarted;
    std::function<void(int position)> compileStep;
    std::function<void(bool ok)> compileDone;
    std::function<void(int maximum)> writeStarted;
    std::function<void(int position)> writeStep;
    std::function<void(bool ok)> writeDone;
};

struct SendRequest {
    QString folder;        // work folder, ending in '/'
    QString installation;  // N
    QString block;         // B
    int cu = 0;            // the block's CU number (L_CENTRAL)
    QString kindCaption;   // L_TABLA: the caption of a send-kind key in the current language
};

struct KindResult {
    QString key;        // vocabulary key the kind is listed under ("PRO")
    QString caption;    // its caption in the current language
    bool sent = false;
    QString message;    // why it failed: the encoder's item and field, the request not acknowledged ...
};

struct SendResult {
    bool connected = false;
    QString connectionMessage; // why nothing could be sent
    QList<KindResult> kinds;   // in the order sent
    bool resetAsked = false;
    bool resetSent = false;

    QStringList failedCaptions() const; // the warning window's list
    bool ok() const { return connected && failedCaptions().isEmpty(); }
};

// The send wizard's work without its window: connect to the block's central
// unit, compile and write each kind of the send kind, collect the kinds that
// failed, ask "Reset now?" where it is due, and disconnect.
//
// A kind counts as sent only when its page was opened, every write and the
// page's close were acknowledged. In a full configuration send all kinds
// share page 1 (opened by the first kind that writes, closed after the
// holidays), so a close that is not acknowledged fails every kind written in
// that page. A failed kind never stops the kinds after it. An image row the
// encoder refuses fails its kind before anything of that kind is written.
class Sender {
public:
    explicit Sender(CuCommands &commands);

    void setListener(const SendListener &listener) { m_listener = listener; }
    // The sort dialog, asked before a user list is compiled; None when unset.
    void setSortChooser(std::function<UserSort()> chooser) { m_sortChooser = std::move(chooser); }
    void setMonitor(IncidenceMonitorHooks *monitor) { m_monitor = monitor; }
    // The installation window's general connection is open: use it, do not log out.
    void setGeneralConnectionOpen(bool open) { m_general = open; }

    // Confirm: the whole send for one request.
    SendResult confirm(const SendRequest &request);

    // Several consecutive unanswered requests end the kind under way: the
    // central unit has stopped answering, and its remaining records would
    // each wait the full time-out in vain.
    static constexpr int kGiveUpAfterUnanswered = 3;

private:
    struct Run;
    void runBranch(Run &run, SendKinds::Branch branch);
    void fullConfiguration(Run &run, bool withUsers);
    void sendUsers(Run &run);
    void sendConfigKind(Run &run, const QString &key, int kindId);
    void askReset(Run &run);

    CuCommands &m_commands;
    SendListener m_listener;
    std::function<UserSort()> m_sortChooser;
    IncidenceMonitorHooks *m_monitor = nullptr;
    bool m_general = false;
};
