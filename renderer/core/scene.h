#pragma once
// A scene: runs for a fixed time, then hands over to the scene that follows it.

namespace quorlane {

class FrameClock;

class Scene {
public:
    Scene(double duration, const FrameClock& clock);
    virtual void setNext(Scene* next);
    virtual void reset();
    virtual bool isFinished();
    virtual Scene* next();
    virtual void update();
    virtual void draw() = 0;

    double duration() const { return duration_; }
    double elapsed() const { return elapsed_; }

protected:
    // Scenes are destroyed through their concrete type by their owner.
    ~Scene() = default;
    const FrameClock& clock_;

private:
    Scene* next_ = nullptr;
    double duration_;
    double elapsed_ = 0.0;
};

}  // namespace quorlane
