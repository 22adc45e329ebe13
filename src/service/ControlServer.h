#pragma once

#include "control/ClientFrames.h"
#include "control/ControlAccess.h"
#include "control/ControlDispatcher.h"
#include "control/ControlReports.h"
#include "control/ControlSession.h"

#include <QObject>
#include <QTcpServer>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QTcpSocket;
class QTimer;

namespace arx {

class Room;

struct ControlServerOptions {
    ControlEndpoint endpoint;
    // Who may connect; an empty list lets this computer (127.0.0.0/8) alone in.
    std::vector<Ipv4Network> allowed;
};

// The room-control port: TCP, one message a line, on the user-interface thread's event loop.
// It only moves bytes: each line goes to the dispatcher, each answer and push back out. No
// client can block the loop or hold on to memory: reading goes in slices of at most
// ReadSlice bytes, a client is closed once OutputLimit bytes wait for it, at most MaxClients
// are served, and a peer outside the allowed networks is closed at once.
class ControlServer final : public QObject, private ControlBroadcast {
    Q_OBJECT
public:
    static constexpr int MaxClients = 16;
    static constexpr std::int64_t ReadSlice = 64 * 1024;

    ControlServer(Room &room, ClientFrames &frames, ControlServerOptions options,
        std::string version, QObject *parent = nullptr);
    ~ControlServer() override;

    // Opens the port; false with the reason when it cannot be bound.
    bool listen(std::string &error);
    // The port listened on (the one the system picked for port 0).
    std::uint16_t port() const;
    std::size_t clientCount() const { return clients_.size(); }

private:
    struct Client {
        QTcpSocket *socket = nullptr;
        ControlSession session;
        QTimer *meter = nullptr;
        bool readPosted = false;
        bool closing = false;
    };

    void accept();
    void read(ClientFrames::ClientId id);
    void write(Client &client, const std::string &line);
    void sample(ClientFrames::ClientId id);
    void startMeter(Client &client);
    // Closes the client now; it leaves the table at the next pass of the loop.
    void close(Client &client);
    void removeClosed();
    void broadcast(const std::string &line) override;
    void sendTo(ClientFrames::ClientId client, const std::string &line) override;
    bool allowed(const QTcpSocket &socket) const;

    Room &room_;
    ClientFrames &frames_;
    ControlServerOptions options_;
    ControlReports reports_;
    ControlDispatcher dispatcher_;
    QTcpServer server_;
    std::map<ClientFrames::ClientId, std::unique_ptr<Client>> clients_;
    ClientFrames::ClientId nextId_ = 1;
    bool removalPosted_ = false;
};

} // namespace arx
