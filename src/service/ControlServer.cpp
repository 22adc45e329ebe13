#include "service/ControlServer.h"

#include "room/Room.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

namespace arx {

namespace {

constexpr int SendBufferBytes = 64 * 1024;

void send(QTcpSocket &socket, const std::string &line)
{
    std::string bytes = line;
    bytes += "\r\n";
    socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

} // namespace

ControlServer::ControlServer(Room &room, ClientFrames &frames, ControlServerOptions options,
    std::string version, QObject *parent)
    : QObject(parent)
    , room_(room)
    , frames_(frames)
    , options_(std::move(options))
    , reports_(room.store(), *this)
    , dispatcher_(room, frames, reports_, *this, std::move(version))
{
    room_.observers().add(reports_);
    connect(&server_, &QTcpServer::newConnection, this, &ControlServer::accept);
}

ControlServer::~ControlServer()
{
    room_.observers().remove(reports_);
    for (auto &[id, client] : clients_)
        client->socket->abort();
}

bool ControlServer::listen(std::string &error)
{
    const QHostAddress address(QString::fromStdString(options_.endpoint.address));
    if (server_.listen(address, options_.endpoint.port))
        return true;
    error = server_.errorString().toStdString();
    return false;
}

std::uint16_t ControlServer::port() const
{
    return server_.serverPort();
}

bool ControlServer::allowed(const QTcpSocket &socket) const
{
    bool isIpv4 = false;
    const std::uint32_t peer = socket.peerAddress().toIPv4Address(&isIpv4);
    if (!isIpv4)
        return false;
    if (options_.allowed.empty())
        return (peer >> 24) == 127;
    for (const Ipv4Network &network : options_.allowed) {
        if (network.contains(peer))
            return true;
    }
    return false;
}

void ControlServer::accept()
{
    while (QTcpSocket *socket = server_.nextPendingConnection()) {
        socket->setParent(this);
        if (!allowed(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (clients_.size() >= static_cast<std::size_t>(MaxClients)) {
            send(*socket, TooManyClientsLine);
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromHost();
            continue;
        }
        const ClientFrames::ClientId id = nextId_++;
        auto client
            = std::make_unique<Client>(Client { .socket = socket, .session = ControlSession(id) });
        socket->setReadBufferSize(ReadSlice);
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, SendBufferBytes);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { read(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] {
            if (const auto found = clients_.find(id); found != clients_.end())
                close(*found->second);
        });
        clients_.emplace(id, std::move(client));
    }
}

void ControlServer::read(ClientFrames::ClientId id)
{
    const auto found = clients_.find(id);
    if (found == clients_.end())
        return;
    Client &client = *found->second;
    client.readPosted = false;
    if (client.closing)
        return;
    const QByteArray bytes = client.socket->read(ReadSlice);
    for (const ControlSession::Line &line :
        client.session.take({ bytes.constData(), static_cast<std::size_t>(bytes.size()) })) {
        if (client.closing)
            return;
        if (line.tooLong) {
            write(client, LineTooLongLine);
            continue;
        }
        const int rate = client.session.meterRateMs();
        for (const std::string &answer : dispatcher_.handle(client.session, line.text))
            write(client, answer);
        if (!client.closing && client.session.meterRateMs() != rate)
            startMeter(client);
    }
    // The rest waits for the next pass, so that timers and the window get their turn.
    if (!client.closing && client.socket->bytesAvailable() > 0 && !client.readPosted) {
        client.readPosted = true;
        QMetaObject::invokeMethod(
            this, [this, id] { read(id); }, Qt::QueuedConnection);
    }
}

void ControlServer::write(Client &client, const std::string &line)
{
    if (client.closing)
        return;
    send(*client.socket, line);
    if (client.socket->bytesToWrite() > static_cast<qint64>(ControlSession::OutputLimit))
        close(client);
}

void ControlServer::broadcast(const std::string &line)
{
    for (auto &[id, client] : clients_)
        write(*client, line);
}

void ControlServer::sendTo(ClientFrames::ClientId client, const std::string &line)
{
    if (const auto found = clients_.find(client); found != clients_.end())
        write(*found->second, line);
}

void ControlServer::startMeter(Client &client)
{
    const int rate = client.session.meterRateMs();
    if (rate == 0) {
        if (client.meter)
            client.meter->stop();
        return;
    }
    if (!client.meter) {
        client.meter = new QTimer(client.socket);
        const ClientFrames::ClientId id = client.session.id();
        connect(client.meter, &QTimer::timeout, this, [this, id] { sample(id); });
    }
    client.meter->start(rate);
}

void ControlServer::sample(ClientFrames::ClientId id)
{
    const auto found = clients_.find(id);
    if (found == clients_.end())
        return;
    Client &client = *found->second;
    for (const std::string &line : client.session.samples(room_.store()))
        write(client, line);
}

void ControlServer::close(Client &client)
{
    if (client.closing)
        return;
    client.closing = true;
    if (client.meter)
        client.meter->stop();
    frames_.forget(client.session.id());
    client.socket->abort();
    if (!removalPosted_) {
        removalPosted_ = true;
        QMetaObject::invokeMethod(
            this, [this] { removeClosed(); }, Qt::QueuedConnection);
    }
}

void ControlServer::removeClosed()
{
    removalPosted_ = false;
    for (auto entry = clients_.begin(); entry != clients_.end();) {
        if (entry->second->closing) {
            entry->second->socket->deleteLater();
            entry = clients_.erase(entry);
        } else {
            ++entry;
        }
    }
}

} // namespace arx
