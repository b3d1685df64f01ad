#include "shell/qt/update_check.h"

#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "platform/string_table.h"
#include "shell/qt/update_request.h"
#include "shell/update_reply.h"

#include <QApplication>
#include <QDir>
#include <QLibrary>
#include <QTimer>

#include <string_view>

namespace {
// How often a waiting offer looks again whether the other dialog has closed.
constexpr int kModalPollMs = 100;

QString updateModulePath;
bool updateModuleLooked = false;
PostUpdateRequestFn postUpdateRequest = nullptr;

// Loads the network module once; the library stays loaded for the process.
PostUpdateRequestFn PostUpdateRequest() {
    if (updateModuleLooked) return postUpdateRequest;
    updateModuleLooked = true;
    QStringList candidates;
    if (!updateModulePath.isEmpty()) {
        candidates << updateModulePath;
    } else {
        const QDir programDir(QCoreApplication::applicationDirPath());
        candidates << programDir.filePath(QStringLiteral(TOLVEMAR_UPDATE_MODULE))
                   << programDir.filePath(QStringLiteral(TOLVEMAR_UPDATE_MODULE_INSTALLED));
    }
    for (const QString& file : candidates) {
        QLibrary library(file);
        if (!library.load()) continue;
        if (auto post = reinterpret_cast<PostUpdateRequestFn>(library.resolve(kPostUpdateRequestEntry))) {
            postUpdateRequest = post;
            break;
        }
        library.unload();
    }
    return postUpdateRequest;
}
}  // namespace

QUrl UpdateCheck::DefaultAddress() { return QUrl(QStringLiteral(TOLVEMAR_UPDATE_URL)); }

void SetUpdateModulePath(const QString& path) {
    updateModulePath = path;
    updateModuleLooked = false;
    postUpdateRequest = nullptr;
}

void StartUpdateCheck(QWidget* mainWindow, std::function<void()> requestClose, const QUrl& address) {
    if (!mainWindow) return;
    auto* check = new UpdateCheck(address.isEmpty() ? UpdateCheck::DefaultAddress() : address, mainWindow,
                                  std::move(requestClose));
    QObject::connect(check, &UpdateCheck::Finished, check, &QObject::deleteLater);
    check->Start();
}

UpdateCheck::UpdateCheck(QUrl address, QWidget* mainWindow, std::function<void()> requestClose)
    : QObject(mainWindow),
      m_address(std::move(address)),
      m_mainWindow(mainWindow),
      m_requestClose(std::move(requestClose)) {}

UpdateCheck::~UpdateCheck() = default;

void UpdateCheck::Start() {
    // Without an http address nothing leaves the program, not even a name
    // lookup: the check ends like one that got no answer.
    const QString scheme = m_address.scheme().toLower();
    if (!m_address.isValid() || m_address.host().isEmpty() || (scheme != "http" && scheme != "https")) {
        Finish(Outcome::Ended);
        return;
    }
    const PostUpdateRequestFn post = PostUpdateRequest();
    if (post) {
        m_request.reset(post(
            m_address, this, [this] { ReadAvailable(); }, [this] { ReplyFinished(); }));
    }
    if (!m_request) Finish(Outcome::Ended);
}

void UpdateCheck::ReadAvailable() {
    if (!m_request || m_replyDone) return;
    while (m_request->BytesAvailable() > 0 && static_cast<std::size_t>(m_body.size()) < kUpdateReplyLimit) {
        const qint64 room = static_cast<qint64>(kUpdateReplyLimit) - m_body.size();
        const QByteArray piece = m_request->Read(std::min(room, m_request->BytesAvailable()));
        if (piece.isEmpty()) break;
        m_body += piece;
    }
    if (static_cast<std::size_t>(m_body.size()) >= kUpdateReplyLimit) {
        // The buffer is full: the rest of the reply is not read.
        m_replyDone = true;
        m_request.reset();
        ExamineReply();
    }
}

void UpdateCheck::ReplyFinished() {
    if (!m_request || m_replyDone) return;
    ReadAvailable();
    if (m_replyDone) return;
    m_replyDone = true;
    const bool failed = m_request->TransportFailed();
    m_request.reset();
    if (failed) {
        m_body.clear();
        Finish(Outcome::Ended);
        return;
    }
    ExamineReply();
}

void UpdateCheck::ExamineReply() {
    const UpdateDecision decision = DecideUpdate(std::string_view(m_body.constData(), m_body.size()),
                                                 LoadStringResource(IDS_LOCAL_VERSION));
    m_body = QByteArray();
    if (!decision.offer) {
        Finish(Outcome::Ended);
        return;
    }
    m_downloadAddress = decision.address;
    OfferWhenNoDialogIsOpen();
}

bool UpdateCheck::AnotherDialogIsOpen() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != m_mainWindow.data();
}

void UpdateCheck::OfferWhenNoDialogIsOpen() {
    if (!AnotherDialogIsOpen()) {
        Offer();
        return;
    }
    if (!m_waitTimer) {
        m_waitTimer = new QTimer(this);
        m_waitTimer->setInterval(kModalPollMs);
        connect(m_waitTimer, &QTimer::timeout, this, [this] {
            if (AnotherDialogIsOpen()) return;
            m_waitTimer->stop();
            Offer();
        });
    }
    m_waitTimer->start();
}

void UpdateCheck::Offer() {
    QPointer<UpdateCheck> self(this);
    const MbResult answer = AfxMessageBox(u"최신버전을 다운 받으시겠습니까?", MbButtons::YesNo);
    if (!self || !m_mainWindow) return;  // the main window went away meanwhile
    if (answer != MbResult::Yes) {
        Finish(Outcome::Declined);
        return;
    }
    AfxMessageBox(u"최신버전을 받기 위해서, 프로그램을 종료합니다.", MbButtons::Ok);
    if (!self || !m_mainWindow) return;
    ShellOpen(m_downloadAddress);
    // The close path may destroy the main window and this check with it:
    // nothing of this object is used after the request.
    const std::function<void()> requestClose = m_requestClose;
    Finish(Outcome::Accepted);
    if (requestClose) requestClose();
}

void UpdateCheck::Finish(Outcome outcome) {
    m_outcome = outcome;
    if (m_waitTimer) m_waitTimer->stop();
    emit Finished();
}
