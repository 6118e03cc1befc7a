// One running copy of a program: a named mutex that lives as long as this object.
#pragma once

namespace zv::win32 {

class SingleInstance {
  public:
    explicit SingleInstance(const char* mutex_name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another process already holds the name.
    bool IsFirstCopy() const { return first_copy_; }

  private:
    void* mutex_;
    bool first_copy_;
};

}  // namespace zv::win32
