#include "platform/linux/x11_global_hot_key_registrar.hpp"

#include "platform/linux/shared_x_connection.hpp"
#include "platform/linux/x11_hot_key_grabber.hpp"

namespace quorvane {

X11GlobalHotKeyRegistrar::X11GlobalHotKeyRegistrar(Scheduler& owner, std::string displayName)
    : X11GlobalHotKeyRegistrar(owner, std::make_shared<SharedXConnection>(std::move(displayName))) {
}

X11GlobalHotKeyRegistrar::X11GlobalHotKeyRegistrar(Scheduler& owner,
                                                   std::shared_ptr<SharedXConnection> connection)
    : owner_(owner), connection_(std::move(connection)), delivery_(std::make_shared<Delivery>()) {}

X11GlobalHotKeyRegistrar::~X11GlobalHotKeyRegistrar() {
    unregisterAll();
}

void X11GlobalHotKeyRegistrar::setActivationHandler(ActivationHandler handler) {
    delivery_->handler = std::move(handler);
}

const X11GlobalHotKeyRegistrar::ActivationHandler& X11GlobalHotKeyRegistrar::activationHandler()
    const {
    return delivery_->handler;
}

std::set<std::string> X11GlobalHotKeyRegistrar::registeredBindingIDs() const {
    return registered_;
}

bool X11GlobalHotKeyRegistrar::connect() {
    if (grabber_ && grabber_->watching())
        return true;
    // A grabber whose connection was lost delivers nothing any more; the
    // grabs are made again on a new connection.
    grabber_.reset();
    // The grabber's thread only posts; the handler runs when the owner's
    // thread gets to it, and not at all once the registrar is gone.
    std::weak_ptr<Delivery> delivery = delivery_;
    Scheduler& owner = owner_;
    grabber_ = X11HotKeyGrabber::open(connection_, [delivery, &owner](const std::string& id) {
        owner.post([delivery, id] {
            const auto alive = delivery.lock();
            if (alive && alive->handler)
                alive->handler(id);
        });
    });
    return grabber_ != nullptr;
}

std::optional<std::vector<X11HotKeyGrabber::Outcome>> X11GlobalHotKeyRegistrar::grab(
    const std::vector<X11HotKeyGrabber::Request>& requests) {
    // A grabber whose connection was lost, and replaced before its watch
    // noticed, refuses to grab: presses of grabs on the new connection would
    // reach no watch. A new grabber watches the new connection. Each refusal
    // takes another lost connection, so the tries only run out on a server
    // that keeps going away.
    constexpr int kAttempts = 3;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (auto outcomes = grabber_->grab(requests, kStatusNoSuchKey, kStatusChordTaken))
            return outcomes;
        grabber_.reset();
        if (!connect())
            return std::nullopt;
    }
    return std::nullopt;
}

GlobalHotKeyRegistrationSummary X11GlobalHotKeyRegistrar::reconcile(
    const std::vector<GlobalHotKeyBinding>& bindings) {
    const bool connected = connect();
    unregisterAll();

    std::vector<X11HotKeyGrabber::Request> requests;
    for (const auto& binding : bindings) {
        if (binding.enabled)
            requests.push_back({binding.id, binding.combination});
    }

    GlobalHotKeyRegistrationSummary summary;
    summary.requestedCount = static_cast<int>(requests.size());
    // Without a server (or once it went away) no grab has an outcome.
    const auto outcomes = connected && !requests.empty() ? grab(requests) : std::nullopt;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const auto failure = outcomes ? (*outcomes)[i].failureStatus : kStatusNoServer;
        if (!failure) {
            registered_.insert(requests[i].bindingID);
            continue;
        }
        summary.failures.push_back(
            {requests[i].bindingID, requests[i].combination.displayLabel(), *failure});
    }
    summary.registeredCount = static_cast<int>(registered_.size());
    return summary;
}

void X11GlobalHotKeyRegistrar::unregisterAll() {
    if (grabber_)
        grabber_->releaseAll();
    registered_.clear();
}

}  // namespace quorvane
