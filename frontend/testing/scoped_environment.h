// An environment variable of the test's own process set (or unset) for one
// scope and restored afterwards; programs started meanwhile inherit it.
#ifndef FRONTEND_TESTING_SCOPED_ENVIRONMENT_H_
#define FRONTEND_TESTING_SCOPED_ENVIRONMENT_H_

#include <QByteArray>
#include <optional>

namespace frontend {

class ScopedEnvironment {
 public:
  // `value` nullopt: the variable is unset for the scope.
  ScopedEnvironment(const char* name, std::optional<QByteArray> value)
      : name_(name), saved_(qgetenv(name)), wasSet_(qEnvironmentVariableIsSet(name)) {
    if (value)
      qputenv(name, *value);
    else
      qunsetenv(name);
  }
  ~ScopedEnvironment() {
    if (wasSet_)
      qputenv(name_, saved_);
    else
      qunsetenv(name_);
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  QByteArray saved_;
  bool wasSet_;
};

}  // namespace frontend

#endif  // FRONTEND_TESTING_SCOPED_ENVIRONMENT_H_
