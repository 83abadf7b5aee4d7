// Records the message boxes and beeps a test provokes and answers them from a script.
#pragma once

#include "framework/MessageBox.h"

#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <vector>

class MessageBoxRecorder {
public:
    MessageBoxRecorder() {
        SetMessageBoxHook([this](const MessageBoxRequest& request) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_boxes.push_back(request);
            if (m_answers.empty())
                return IDOK;
            int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        });
        SetBeepHook([this](UINT nType) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_beeps.push_back(nType);
        });
    }
    ~MessageBoxRecorder() {
        SetMessageBoxHook([](const MessageBoxRequest& request) {
            ADD_FAILURE() << "unexpected message box: " << request.strText;
            return IDCANCEL;
        });
        SetBeepHook([](UINT) {});
    }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // The buttons the next boxes return, in order; IDOK once they run out.
    void Answer(std::initializer_list<int> answers) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_answers.insert(m_answers.end(), answers);
    }
    std::vector<MessageBoxRequest> Boxes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes;
    }
    std::vector<UINT> Beeps() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_beeps;
    }

private:
    std::mutex m_mutex;
    std::vector<MessageBoxRequest> m_boxes;
    std::vector<UINT> m_beeps;
    std::deque<int> m_answers;
};
