#include "shell/qt/update_check.h"

#include "platform/message_box.h"
#include "platform/shell_open.h"

#include <QDialog>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A one-shot HTTP server on 127.0.0.1: it records each request and answers
// with the scripted bytes, then closes the connection (unless told to hang).
class TestHttpServer : public QObject {
public:
    QByteArray response;
    bool answer = true;
    std::vector<QByteArray> requests;
    int closedByClient = 0;  // connections the check closed before an answer

    TestHttpServer() {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                auto buffer = std::make_shared<QByteArray>();
                connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
                    *buffer += socket->readAll();
                    const qsizetype headerEnd = buffer->indexOf("\r\n\r\n");
                    if (headerEnd < 0) return;
                    qsizetype length = 0;
                    for (const QByteArray& line : buffer->left(headerEnd).split('\n')) {
                        if (line.toLower().startsWith("content-length:"))
                            length = line.mid(15).trimmed().toLongLong();
                    }
                    if (buffer->size() < headerEnd + 4 + length) return;
                    requests.push_back(*buffer);
                    buffer->clear();
                    if (!answer) return;
                    socket->write(response);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, this, [this] { closedByClient += !answer; });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())); }

private:
    QTcpServer m_server;
};

// An address on 127.0.0.1 whose port refuses connections: a port the
// system just handed out and that nothing listens on any more.
QUrl RefusingAddress() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port));
}

QByteArray HttpReply(const QByteArray& body, const QByteArray& status = "200 OK") {
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

QByteArray Offer(const QByteArray& version, const QByteArray& address = "http://dl.test/tolvemar.tar.gz") {
    return "<html>##Tolvemar_UpdateInformation:" + version + "," + address + "\r\n</html>";
}

class UpdateCheckTest : public testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            boxes.push_back(request);
            events.push_back("box");
            return request.buttons == MbButtons::YesNo ? offerAnswer : MbResult::Ok;
        });
        SetShellOpenHandler([this](const std::u16string& address) {
            opened.push_back(address);
            events.push_back("open");
        });
        SetUpdateModulePath(QStringLiteral(TOLVEMAR_UPDATE_MODULE_FILE));
        mainWindow = new QWidget;
    }
    void TearDown() override {
        SetUpdateModulePath({});
        delete mainWindow;
        SetMessageBoxHandler({});
        SetShellOpenHandler({});
    }

    UpdateCheck* Start(const QUrl& url) {
        auto* check = new UpdateCheck(url, mainWindow, [this] {
            ++closeRequests;
            events.push_back("close");
        });
        check->Start();
        return check;
    }

    // Runs one check against the server and returns its outcome.
    UpdateCheck::Outcome Run(const QByteArray& response) {
        server.response = response;
        QPointer<UpdateCheck> check = Start(server.url());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !check || check->GetOutcome() != UpdateCheck::Outcome::Running; }, 10000));
        return check ? check->GetOutcome() : UpdateCheck::Outcome::Running;
    }

    TestHttpServer server;
    QWidget* mainWindow = nullptr;
    MbResult offerAnswer = MbResult::No;
    std::vector<MessageBoxRequest> boxes;
    std::vector<std::u16string> opened;
    std::vector<std::string> events;
    int closeRequests = 0;
};

TEST_F(UpdateCheckTest, SendsAnEmptyPostToTheRootWithItsTwoHeaderLines) {
    EXPECT_EQ(Run(HttpReply("")), UpdateCheck::Outcome::Ended);
    ASSERT_EQ(server.requests.size(), 1u);
    const QByteArray& request = server.requests[0];
    EXPECT_TRUE(request.startsWith("POST / HTTP/1.1\r\n")) << request.toStdString();
    EXPECT_TRUE(request.contains("\r\nReferer:  Tolvemar\r\n")) << request.toStdString();
    EXPECT_TRUE(request.contains("\r\nUser-Agent:  Mozilla/Tolvemar\r\n")) << request.toStdString();
    EXPECT_TRUE(request.endsWith("\r\n\r\n"));  // no body
    EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheckTest, OffersOnlyStrictlyNewerVersions) {
    struct Case {
        QByteArray version;
        bool offered;
    };
    // The full table of values is checked without a network in update_reply_test.
    for (const Case& c :
         {Case{"2.213", false}, Case{"2.2131", true}, Case{"2.21309", false}, Case{"1e39", false}}) {
        boxes.clear();
        const UpdateCheck::Outcome outcome = Run(HttpReply(Offer(c.version)));
        EXPECT_EQ(outcome, c.offered ? UpdateCheck::Outcome::Declined : UpdateCheck::Outcome::Ended)
            << c.version.data();
        EXPECT_EQ(boxes.size(), c.offered ? 1u : 0u) << c.version.data();
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(closeRequests, 0);
}

TEST_F(UpdateCheckTest, AcceptedOfferNotifiesThenOpensTheAddressThenRequestsClose) {
    offerAnswer = MbResult::Yes;
    EXPECT_EQ(Run(HttpReply(Offer("2.3", "https://dl.test/new setup"))), UpdateCheck::Outcome::Accepted);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], (MessageBoxRequest{MbOwner::Application, u"최신버전을 다운 받으시겠습니까?",
                                           u"Tolvemar", MbButtons::YesNo, MbIcon::Question}));
    EXPECT_EQ(boxes[1],
              (MessageBoxRequest{MbOwner::Application, u"최신버전을 받기 위해서, 프로그램을 종료합니다.",
                                 u"Tolvemar", MbButtons::Ok, MbIcon::Exclamation}));
    EXPECT_EQ(opened, std::vector<std::u16string>{u"https://dl.test/new"});
    EXPECT_EQ(events, (std::vector<std::string>{"box", "box", "open", "close"}));
    EXPECT_EQ(closeRequests, 1);
}

TEST_F(UpdateCheckTest, RepliesWithoutAUsableOfferEndSilently) {
    EXPECT_EQ(Run(HttpReply("<html>nothing new</html>")), UpdateCheck::Outcome::Ended);
    EXPECT_EQ(Run(HttpReply("<html>server error</html>", "500 Internal Server Error")),
              UpdateCheck::Outcome::Ended);
    EXPECT_EQ(Run(HttpReply(Offer("9", "file:///etc/passwd"))), UpdateCheck::Outcome::Ended);
    EXPECT_EQ(Run(HttpReply("##Tolvemar_UpdateInformation:9")), UpdateCheck::Outcome::Ended);
    // Not HTTP at all.
    EXPECT_EQ(Run("garbage\r\n\r\n" + Offer("9")), UpdateCheck::Outcome::Ended);
    EXPECT_TRUE(boxes.empty());
    // An error page is scanned like any reply.
    EXPECT_EQ(Run(HttpReply(Offer("9"), "404 Not Found")), UpdateCheck::Outcome::Declined);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(UpdateCheckTest, AReplyCutOffBeforeItsEndIsNotScanned) {
    const QByteArray body = Offer("9");
    const QByteArray cut =
        "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size() + 500) + "\r\n\r\n" + body;
    EXPECT_EQ(Run(cut), UpdateCheck::Outcome::Ended);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheckTest, ReadsNoMoreThanTheLimit) {
    const QByteArray filler(6 * 1024 * 1024 - 1, 'x');
    // The marker lies beyond the limit: never read.
    EXPECT_EQ(Run(HttpReply(filler + Offer("9"))), UpdateCheck::Outcome::Ended);
    // The marker lies inside: the rest of the long reply is not waited for.
    EXPECT_EQ(Run(HttpReply(Offer("9") + " " + filler + filler)), UpdateCheck::Outcome::Declined);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(UpdateCheckTest, RefusedConnectionsAndBadAddressesEndSilently) {
    QPointer<UpdateCheck> check = Start(RefusingAddress());
    ASSERT_TRUE(QTest::qWaitFor([&] { return check->GetOutcome() != UpdateCheck::Outcome::Running; }, 10000));
    EXPECT_EQ(check->GetOutcome(), UpdateCheck::Outcome::Ended);
    for (const char* address : {"", "ftp://127.0.0.1/", "not an address", "http://"}) {
        check = Start(QUrl(QString::fromUtf8(address)));
        EXPECT_EQ(check->GetOutcome(), UpdateCheck::Outcome::Ended) << address;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheckTest, WithoutTheNetworkModuleTheCheckEndsSilently) {
    SetUpdateModulePath(QStringLiteral("/nonexistent/libtolvemar_update.so"));
    EXPECT_EQ(Run(HttpReply(Offer("9"))), UpdateCheck::Outcome::Ended);
    EXPECT_TRUE(server.requests.empty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheckTest, AnOfferWaitsWhileAnotherModalDialogIsOpen) {
    mainWindow->show();
    auto* options = new QDialog(mainWindow);
    options->setModal(true);
    options->show();
    server.response = HttpReply(Offer("9"));
    QPointer<UpdateCheck> check = Start(server.url());
    // The reply is read and the offer waits: it looks again, twice, and still
    // shows nothing while the other dialog is open.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return check->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly) != nullptr; }, 10000));
    QSignalSpy polls(check->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly), &QTimer::timeout);
    ASSERT_TRUE(QTest::qWaitFor([&] { return polls.count() >= 2; }, 10000));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(check->GetOutcome(), UpdateCheck::Outcome::Running);
    options->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return check->GetOutcome() != UpdateCheck::Outcome::Running; }, 10000));
    EXPECT_EQ(check->GetOutcome(), UpdateCheck::Outcome::Declined);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(UpdateCheckTest, DestroyingTheMainWindowAbortsAPendingCheck) {
    server.answer = false;
    QPointer<UpdateCheck> check = Start(server.url());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.requests.empty(); }, 10000));
    delete mainWindow;
    mainWindow = nullptr;
    EXPECT_TRUE(check.isNull());
    // The aborted request closes its connection; no box follows.
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.closedByClient == 1; }, 10000));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheckTest, MainWindowGoneDuringTheOfferStopsTheRest) {
    SetMessageBoxHandler([this](const MessageBoxRequest& request) {
        boxes.push_back(request);
        delete mainWindow;
        mainWindow = nullptr;
        return MbResult::Yes;
    });
    server.response = HttpReply(Offer("9"));
    QPointer<UpdateCheck> check = Start(server.url());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.empty(); }, 10000));
    // Whatever the answer left queued runs now.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(check.isNull());
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(closeRequests, 0);
}

// Catches a build without an update address asking a server all the same:
// its placeholder address was looked up, and sent to a proxy when one is set.
TEST_F(UpdateCheckTest, ABuildWithoutAnAddressSendsNothingThroughAProxy) {
    if (TOLVEMAR_UPDATE_URL_GIVEN) GTEST_SKIP() << "this build has an update address";
    QTcpServer proxy;
    ASSERT_TRUE(proxy.listen(QHostAddress::LocalHost, 0));
    const QByteArray saved = qgetenv("http_proxy");
    qputenv("http_proxy", "http://127.0.0.1:" + QByteArray::number(proxy.serverPort()));
    StartUpdateCheck(mainWindow, [this] { ++closeRequests; });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return proxy.hasPendingConnections() || mainWindow->findChildren<UpdateCheck*>().isEmpty(); },
        10000));
    EXPECT_FALSE(proxy.hasPendingConnections());
    saved.isNull() ? qunsetenv("http_proxy") : qputenv("http_proxy", saved);
}

TEST_F(UpdateCheckTest, StartUpdateCheckCleansUpAfterItself) {
    // A refused connection ends the check without a word, and the check
    // removes itself from the main window.
    StartUpdateCheck(
        mainWindow, [this] { ++closeRequests; }, RefusingAddress());
    ASSERT_EQ(mainWindow->findChildren<UpdateCheck*>().size(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mainWindow->findChildren<UpdateCheck*>().isEmpty(); }, 10000));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(closeRequests, 0);
    StartUpdateCheck(nullptr, {});
}

}  // namespace
