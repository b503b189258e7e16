#include "irview/player/listen_responses.h"

#include <QFileInfo>

namespace irview {

namespace {

bool isMonoTim(const ViewedFile& file) {
  return file.response && file.response->channels.size() == 1 &&
         QFileInfo(file.path).suffix().compare(QStringLiteral("tim"), Qt::CaseInsensitive) == 0;
}

bool pairs(const ViewedFile& left, const ViewedFile& right) {
  return isMonoTim(left) && isMonoTim(right) &&
         left.response->sample_rate_hz == right.response->sample_rate_hz &&
         left.response->channels[0].size() == right.response->channels[0].size();
}

}  // namespace

std::vector<ListenResponse> listenResponses(const std::vector<ViewedFile>& files) {
  std::vector<const ViewedFile*> read;
  for (const ViewedFile& file : files)
    if (file.response && !file.response->channels.empty()) read.push_back(&file);
  std::vector<ListenResponse> responses;
  for (std::size_t i = 0; i < read.size(); ++i) {
    ListenResponse response;
    if (i + 1 < read.size() && pairs(*read[i], *read[i + 1])) {
      response.label = QFileInfo(read[i]->path).fileName() + QStringLiteral(" + ") +
                       QFileInfo(read[i + 1]->path).fileName();
      response.paths = {read[i]->path, read[i + 1]->path};
      response.files = {read[i]->response, read[i + 1]->response};
      ++i;
    } else {
      response.label = QFileInfo(read[i]->path).fileName();
      response.paths = {read[i]->path};
      response.files = {read[i]->response};
    }
    responses.push_back(std::move(response));
  }
  return responses;
}

}  // namespace irview
