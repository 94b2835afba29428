#include "workflow/arp_side_by_side.h"

#include "workflow/side_by_side.h"

namespace lumaro {

std::vector<platform::ArpResult> AskSideBySide(const std::vector<ArpQuestion>& questions,
                                               const ArpRequest& arp, std::size_t parallel) {
    std::vector<platform::ArpResult> answers(questions.size(), platform::ArpResult::NoAnswer());
    SideBySideTasks asking;
    asking.count = questions.size();
    asking.run = [&](std::size_t i) { answers[i] = arp(questions[i].first, questions[i].second); };
    RunSideBySide(asking, parallel);
    return answers;
}

}  // namespace lumaro
