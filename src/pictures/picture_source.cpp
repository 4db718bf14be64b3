#include "pictures/picture_source.h"

#include <new>

#include "imaging/picture.h"

namespace coiffure {

std::string ReasonItFailed(const std::function<void()>& work) {
  try {
    work();
    return {};
  } catch (const ImportError& e) {
    return e.what();
  } catch (const std::bad_alloc&) {
    return kMsgOutOfMemory;
  } catch (const PictureError&) {
    return kMsgNotAPicture;
  }
}

}  // namespace coiffure
