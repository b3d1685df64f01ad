// The update check: one POST to the update address at start, the reply read
// without blocking the user interface, and the download offer when the reply
// names a newer version. Network failures end the check silently.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QTimer;
class UpdateRequest;

// Starts the check against `address`, the built-in update address unless
// named. A build made without an update address has none, and the check then
// sends nothing. The check lives as a child of the main window, so destroying the
// window aborts it, and removes itself when it ends. `requestClose` runs the
// main window's ordinary close path after the user accepted the download.
void StartUpdateCheck(QWidget* mainWindow, std::function<void()> requestClose, const QUrl& address = {});

// The network part of the check is the module tolvemar_update, looked for
// next to the executable and in the installed library folder; without it the
// check ends silently, like on any network failure. Tests name the file here.
void SetUpdateModulePath(const QString& path);

class UpdateCheck : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Running,
        Ended,     // failure, no marker, not newer: nothing shown
        Declined,  // the offer was shown and answered No
        Accepted,  // the offer was accepted: address opened, close requested
    };

    UpdateCheck(QUrl address, QWidget* mainWindow, std::function<void()> requestClose);
    ~UpdateCheck() override;

    void Start();
    Outcome GetOutcome() const { return m_outcome; }
    // The built-in update address; empty in a build made without one.
    static QUrl DefaultAddress();

signals:
    void Finished();

private:
    void ReadAvailable();
    void ReplyFinished();
    void ExamineReply();
    bool AnotherDialogIsOpen() const;
    void OfferWhenNoDialogIsOpen();
    void Offer();
    void Finish(Outcome outcome);

    QUrl m_address;
    QPointer<QWidget> m_mainWindow;
    std::function<void()> m_requestClose;
    std::unique_ptr<UpdateRequest> m_request;
    QTimer* m_waitTimer = nullptr;
    QByteArray m_body;
    std::u16string m_downloadAddress;
    Outcome m_outcome = Outcome::Running;
    bool m_replyDone = false;
};
