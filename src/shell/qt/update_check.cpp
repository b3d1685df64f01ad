#include "shell/qt/update_check.h"

#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "platform/string_table.h"
#include "shell/update_reply.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <string_view>

namespace {
// How often a waiting offer looks again whether the other dialog has closed.
constexpr int kModalPollMs = 100;
// A server that stops sending ends the check after this long.
constexpr int kTransferTimeoutMs = 60000;
// Bytes Qt may hold for us between two reads.
constexpr qint64 kReadBufferSize = 64 * 1024;

// Errors of the connection itself (as opposed to an HTTP status): the reply
// is not complete and is not scanned.
bool IsTransportError(QNetworkReply::NetworkError error) {
    const int code = static_cast<int>(error);
    return (code >= 1 && code <= 199) || (code >= 301 && code <= 399);
}
}  // namespace

QUrl UpdateCheck::DefaultAddress() { return QUrl(QStringLiteral(TOLVEMAR_UPDATE_URL)); }

void StartUpdateCheck(QWidget* mainWindow, std::function<void()> requestClose) {
    if (!mainWindow) return;
    auto* check = new UpdateCheck(UpdateCheck::DefaultAddress(), mainWindow, std::move(requestClose));
    QObject::connect(check, &UpdateCheck::finished, check, &QObject::deleteLater);
    check->start();
}

UpdateCheck::UpdateCheck(QUrl address, QWidget* mainWindow, std::function<void()> requestClose)
    : QObject(mainWindow),
      m_address(std::move(address)),
      m_mainWindow(mainWindow),
      m_requestClose(std::move(requestClose)) {}

UpdateCheck::~UpdateCheck() {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void UpdateCheck::start() {
    const QString scheme = m_address.scheme().toLower();
    if (!m_address.isValid() || m_address.host().isEmpty() || (scheme != "http" && scheme != "https")) {
        finish(Outcome::Ended);
        return;
    }
    QUrl url = m_address;
    if (url.path().isEmpty()) url.setPath(QStringLiteral("/"));
    QNetworkRequest request(url);
    // Each header value starts with a blank, so the lines read
    // "Referer:  Tolvemar" and "User-Agent:  Mozilla/Tolvemar".
    request.setRawHeader("Referer", " Tolvemar");
    request.setRawHeader("User-Agent", " Mozilla/Tolvemar");
    request.setTransferTimeout(kTransferTimeoutMs);
    m_manager = new QNetworkAccessManager(this);
    m_reply = m_manager->post(request, QByteArray());
    m_reply->setReadBufferSize(kReadBufferSize);
    connect(m_reply, &QNetworkReply::readyRead, this, &UpdateCheck::readAvailable);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateCheck::replyFinished);
}

void UpdateCheck::readAvailable() {
    if (!m_reply || m_replyDone) return;
    while (m_reply->bytesAvailable() > 0 && static_cast<std::size_t>(m_body.size()) < kUpdateReplyLimit) {
        const qint64 room = static_cast<qint64>(kUpdateReplyLimit) - m_body.size();
        const QByteArray piece = m_reply->read(std::min(room, m_reply->bytesAvailable()));
        if (piece.isEmpty()) break;
        m_body += piece;
    }
    if (static_cast<std::size_t>(m_body.size()) >= kUpdateReplyLimit) {
        // The buffer is full: the rest of the reply is not read.
        m_replyDone = true;
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
        examineReply();
    }
}

void UpdateCheck::replyFinished() {
    if (!m_reply || m_replyDone) return;
    readAvailable();
    if (m_replyDone) return;
    m_replyDone = true;
    const bool failed = IsTransportError(m_reply->error());
    m_reply->disconnect(this);
    m_reply->deleteLater();
    m_reply = nullptr;
    if (failed) {
        m_body.clear();
        finish(Outcome::Ended);
        return;
    }
    examineReply();
}

void UpdateCheck::examineReply() {
    const UpdateDecision decision = DecideUpdate(std::string_view(m_body.constData(), m_body.size()),
                                                 LoadStringResource(IDS_LOCAL_VERSION));
    m_body = QByteArray();
    if (!decision.offer) {
        finish(Outcome::Ended);
        return;
    }
    m_downloadAddress = decision.address;
    offerWhenNoDialogIsOpen();
}

bool UpdateCheck::anotherDialogIsOpen() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != m_mainWindow.data();
}

void UpdateCheck::offerWhenNoDialogIsOpen() {
    if (!anotherDialogIsOpen()) {
        offer();
        return;
    }
    if (!m_waitTimer) {
        m_waitTimer = new QTimer(this);
        m_waitTimer->setInterval(kModalPollMs);
        connect(m_waitTimer, &QTimer::timeout, this, [this] {
            if (anotherDialogIsOpen()) return;
            m_waitTimer->stop();
            offer();
        });
    }
    m_waitTimer->start();
}

void UpdateCheck::offer() {
    QPointer<UpdateCheck> self(this);
    const MbResult answer = AfxMessageBox(u"최신버전을 다운 받으시겠습니까?", MbButtons::YesNo);
    if (!self || !m_mainWindow) return;  // the main window went away meanwhile
    if (answer != MbResult::Yes) {
        finish(Outcome::Declined);
        return;
    }
    AfxMessageBox(u"최신버전을 받기 위해서, 프로그램을 종료합니다.", MbButtons::Ok);
    if (!self || !m_mainWindow) return;
    ShellOpen(m_downloadAddress);
    // The close path may destroy the main window and this check with it:
    // nothing of this object is used after the request.
    const std::function<void()> requestClose = m_requestClose;
    finish(Outcome::Accepted);
    if (requestClose) requestClose();
}

void UpdateCheck::finish(Outcome outcome) {
    m_outcome = outcome;
    if (m_waitTimer) m_waitTimer->stop();
    emit finished();
}
