#include "install/resources/InstallerResources.h"

#include <cstring>

#include "platform/ui/Resources.h"
#include "install/resources/DialogTemplates.h"
#include "install/resources/EmbeddedPictures.h"
#include "install/resources/ResourceIds.h"
#include "install/resources/StringTableData.h"

namespace {

const EmbeddedPicture* FindPicture(const char* name) {
  for (std::size_t i = 0; i < embeddedPictureCount; ++i)
    if (std::strcmp(embeddedPictures[i].name, name) == 0) return &embeddedPictures[i];
  return nullptr;
}

}  // namespace

void RegisterInstallerResources() {
  for (std::size_t i = 0; i < stringTableSize; ++i) qm::ui::RegisterStringResource(stringTable[i].id, stringTable[i].text);
  for (const auto& [id, dialogTemplate] : InstallerDialogTemplates()) qm::ui::RegisterDialogResource(id, dialogTemplate);
  if (const EmbeddedPicture* p = FindPicture("wizard-129.png")) qm::ui::RegisterBitmapResource(IDB_WIZARD, p->data, p->size);
  if (const EmbeddedPicture* p = FindPicture("welcome-130.png")) qm::ui::RegisterIconResource(IDI_WELCOME, p->data, p->size);
  if (const EmbeddedPicture* p = FindPicture("resume-132.png")) qm::ui::RegisterIconResource(IDI_RESUME, p->data, p->size);
}
