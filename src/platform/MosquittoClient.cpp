// The module that MqttConnection loads: the program's only use of libmosquitto (and, through it,
// of OpenSSL). The library's thread connects, reconnects with back-off and calls back here.
#include "platform/MqttClient.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mosquitto.h>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace {

// Where the system keeps the certificate authorities it trusts.
constexpr char kCertificatesDir[] = "/etc/ssl/certs";
// Every message goes at least once: a state or an announcement must not be lost on the way.
constexpr int kQos = 1;

// What went wrong, in words: the library's own for what it alone knows.
QString errorText(int rc, int savedErrno) {
    switch (rc) {
    case MOSQ_ERR_ERRNO:
        return QString::fromLocal8Bit(std::strerror(savedErrno));
    case MOSQ_ERR_CONN_LOST:
        return QCoreApplication::translate("MqttConnection", "connexion perdue");
    case MOSQ_ERR_EAI:
        return QCoreApplication::translate("MqttConnection", "nom de serveur inconnu");
    default:
        return QString::fromUtf8(mosquitto_strerror(rc));
    }
}

QString refusalText(int rc) {
    switch (rc) {
    case 4:
        return QCoreApplication::translate("MqttConnection",
                                           "nom d'utilisateur ou mot de passe refusé");
    case 5:
        return QCoreApplication::translate("MqttConnection", "connexion non autorisée");
    default:
        return QString::fromUtf8(mosquitto_connack_string(rc));
    }
}

// The library's thread may be cancelled when it stops; never while it is inside the program's
// code, which may hold a lock of Qt's.
class NoCancel {
public:
    NoCancel() { pthread_setcancelstate(PTHREAD_CANCEL_DISABLE, &before); }
    ~NoCancel() { pthread_setcancelstate(before, nullptr); }
    NoCancel(const NoCancel&) = delete;
    NoCancel& operator=(const NoCancel&) = delete;

private:
    int before = 0;
};

class MosquittoClient final : public MqttClient {
public:
    MosquittoClient(const MqttConnection::Options& options, MqttClientEvents& events)
        : options(options), events(events) {}

    bool start(QString* problem) {
        static std::once_flag initialised;
        std::call_once(initialised, [] { mosquitto_lib_init(); });
        const QByteArray id = options.clientId.toUtf8();
        m = mosquitto_new(id.isEmpty() ? nullptr : id.constData(), true, this);
        if (m == nullptr) {
            return fail(problem, QString::fromLocal8Bit(std::strerror(errno)));
        }
        if (!options.user.isEmpty()) {
            const int rc = mosquitto_username_pw_set(m, options.user.toUtf8().constData(),
                                                     options.password.toUtf8().constData());
            if (rc != MOSQ_ERR_SUCCESS) {
                return fail(problem, errorText(rc, errno));
            }
        }
        if (!options.willTopic.isEmpty()) {
            const int rc = mosquitto_will_set(
                m, options.willTopic.toUtf8().constData(), int(options.willPayload.size()),
                options.willPayload.constData(), kQos, options.willRetain);
            if (rc != MOSQ_ERR_SUCCESS) {
                return fail(problem, errorText(rc, errno));
            }
        }
        if (options.tls) {
            const int rc =
                mosquitto_tls_set(m, nullptr, kCertificatesDir, nullptr, nullptr, nullptr);
            if (rc != MOSQ_ERR_SUCCESS) {
                return fail(problem, errorText(rc, errno));
            }
        }
        mosquitto_reconnect_delay_set(m, unsigned(options.reconnectMinSeconds),
                                      unsigned(options.reconnectMaxSeconds), true);
        mosquitto_connect_callback_set(m, onConnect);
        mosquitto_disconnect_callback_set(m, onDisconnect);
        mosquitto_message_callback_set(m, onMessage);
        mosquitto_publish_callback_set(m, onPublish);
        // Looking the server's name up may take a while: not on the caller's thread. The library
        // reconnects by itself only once a first attempt got under way; until then this thread
        // tries again, with the same back-off.
        starter = std::thread([this] {
            int delay = std::max(this->options.reconnectMinSeconds, 1);
            for (;;) {
                const int rc =
                    mosquitto_connect_async(m, this->options.host.toUtf8().constData(),
                                            this->options.port, this->options.keepAliveSeconds);
                const int savedErrno = errno;
                if (rc == MOSQ_ERR_SUCCESS) {
                    mosquitto_loop_start(m);
                    return;
                }
                this->events.connectedChanged(false, errorText(rc, savedErrno));
                std::unique_lock guard(lock);
                if (stopped.wait_for(guard, std::chrono::seconds(delay),
                                     [this] { return stopping; })) {
                    return;
                }
                delay = std::min(delay * 2, this->options.reconnectMaxSeconds);
            }
        });
        return true;
    }

    ~MosquittoClient() override {
        {
            const std::lock_guard guard(lock);
            stopping = true;
        }
        stopped.notify_all();
        if (starter.joinable()) {
            starter.join();
        }
        if (m != nullptr) {
            mosquitto_disconnect(m);
            mosquitto_loop_stop(m, true);
            mosquitto_destroy(m);
        }
    }

    void subscribe(const QString& topic) override {
        const std::lock_guard guard(lock);
        const QByteArray name = topic.toUtf8();
        topics.insert(name);
        if (online) {
            mosquitto_subscribe(m, nullptr, name.constData(), kQos);
        }
    }

    void unsubscribe(const QString& topic) override {
        const std::lock_guard guard(lock);
        const QByteArray name = topic.toUtf8();
        topics.remove(name);
        if (online) {
            mosquitto_unsubscribe(m, nullptr, name.constData());
        }
    }

    void publish(const QString& topic, const QByteArray& payload, bool retain) override {
        const std::lock_guard guard(lock);
        const QByteArray name = topic.toUtf8();
        if (online) {
            send(name, {payload, retain});
        } else {
            // The latest of each topic goes out once the broker is back.
            pending.insert(name, {payload, retain});
        }
    }

    void disconnectWith(const QString& topic, const QByteArray& payload, bool retain) override {
        std::unique_lock guard(lock);
        if (online) {
            const int mid = send(topic.toUtf8(), {payload, retain});
            published.wait_for(guard, std::chrono::seconds(1),
                               [this, mid] { return mid == 0 || lastPublished == mid || !online; });
        }
        guard.unlock();
        mosquitto_disconnect(m);
    }

private:
    struct Message {
        QByteArray payload;
        bool retain = false;
    };

    // Under the lock; the message's id, 0 when it could not be sent.
    int send(const QByteArray& topic, const Message& message) {
        int mid = 0;
        const int rc = mosquitto_publish(m, &mid, topic.constData(), int(message.payload.size()),
                                         message.payload.constData(), kQos, message.retain);
        return rc == MOSQ_ERR_SUCCESS ? mid : 0;
    }

    bool fail(QString* problem, const QString& why) {
        if (problem != nullptr) {
            *problem = why;
        }
        return false;
    }

    static void onConnect(mosquitto*, void* self, int rc) {
        const NoCancel noCancel;
        auto& client = *static_cast<MosquittoClient*>(self);
        if (rc != 0) {
            client.events.connectedChanged(false, refusalText(rc));
            return;
        }
        {
            const std::lock_guard guard(client.lock);
            client.online = true;
            for (const QByteArray& topic : std::as_const(client.topics)) {
                mosquitto_subscribe(client.m, nullptr, topic.constData(), kQos);
            }
            for (auto it = client.pending.cbegin(); it != client.pending.cend(); ++it) {
                client.send(it.key(), it.value());
            }
            client.pending.clear();
        }
        client.events.connectedChanged(true, {});
    }

    static void onDisconnect(mosquitto*, void* self, int rc) {
        const NoCancel noCancel;
        auto& client = *static_cast<MosquittoClient*>(self);
        bool wasOnline = false;
        {
            const std::lock_guard guard(client.lock);
            wasOnline = std::exchange(client.online, false);
        }
        client.published.notify_all();
        // A refused connection was told when it was refused.
        if (wasOnline) {
            client.events.connectedChanged(false, rc == 0 ? QString() : errorText(rc, errno));
        }
    }

    static void onMessage(mosquitto*, void* self, const mosquitto_message* message) {
        const NoCancel noCancel;
        auto& client = *static_cast<MosquittoClient*>(self);
        const QString topic = QString::fromUtf8(message->topic);
        if (message->payloadlen > client.options.maxPayload) {
            client.events.droppedOversized(topic, message->payloadlen);
            return;
        }
        client.events.messageReceived(
            topic, QByteArray(static_cast<const char*>(message->payload), message->payloadlen),
            message->retain);
    }

    static void onPublish(mosquitto*, void* self, int mid) {
        const NoCancel noCancel;
        auto& client = *static_cast<MosquittoClient*>(self);
        {
            const std::lock_guard guard(client.lock);
            client.lastPublished = mid;
        }
        client.published.notify_all();
    }

    const MqttConnection::Options options;
    MqttClientEvents& events;
    mosquitto* m = nullptr;
    std::thread starter;
    std::mutex lock; // what follows, shared with the library's thread
    std::condition_variable published;
    std::condition_variable stopped; // the starter's wait between two attempts
    bool stopping = false;
    QSet<QByteArray> topics;
    QHash<QByteArray, Message> pending;
    bool online = false;
    int lastPublished = 0;
};

} // namespace

extern "C" __attribute__((visibility("default"))) MqttClient*
relayeurMakeMqttClient(const MqttConnection::Options& options, MqttClientEvents& events,
                       QString* problem) {
    auto client = std::make_unique<MosquittoClient>(options, events);
    if (!client->start(problem)) {
        return nullptr;
    }
    return client.release();
}

// The factory has the type the loader expects.
static_assert(std::is_same_v<decltype(&relayeurMakeMqttClient), MqttClientFactory>);
