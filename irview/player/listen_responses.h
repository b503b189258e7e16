// The responses the Listen panel offers, made from the files the viewer has
// read, in their order: each file is one response (mono or stereo), except
// a .TIM pair, which is one stereo response: a mono .TIM file followed
// directly by another mono .TIM file of the same rate and length is its
// left channel, the other its right (as irgen writes the two channels of a
// stereo file, and as irconv takes RESPONSE RESPONSE_RIGHT).
#ifndef IRVIEW_PLAYER_LISTEN_RESPONSES_H_
#define IRVIEW_PLAYER_LISTEN_RESPONSES_H_

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "analysis/response.h"
#include "irview/model/viewed_file.h"

namespace irview {

struct ListenResponse {
  QString label;      // "hall.wav", "left.tim + right.tim"
  QStringList paths;  // one file, or the pair's left and right
  std::vector<std::shared_ptr<const analysis::ResponseFile>> files;

  // The same files (read once): the same auralisation.
  friend bool operator==(const ListenResponse& a, const ListenResponse& b) {
    return a.files == b.files;
  }
};

// The responses of the files read so far (files still being read are left
// out).
std::vector<ListenResponse> listenResponses(const std::vector<ViewedFile>& files);

}  // namespace irview

#endif  // IRVIEW_PLAYER_LISTEN_RESPONSES_H_
