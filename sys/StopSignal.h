#pragma once

// A request to stop that a thread blocked in poll() can see: an eventfd that
// stays readable from Raise() until Clear().
class StopSignal {
  public:
    // Throws std::system_error when the system has no descriptor to spare.
    StopSignal();
    ~StopSignal();

    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void Raise();
    void Clear();
    // Blocks until the signal is raised.
    void Wait() const;
    // Readable (POLLIN) while the signal is raised.
    int Descriptor() const { return m_nDescriptor; }

  private:
    int m_nDescriptor;
};
