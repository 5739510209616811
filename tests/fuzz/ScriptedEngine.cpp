#include "tests/fuzz/ScriptedEngine.h"

#include <unistd.h>

#include <cerrno>
#include <optional>
#include <sstream>
#include <string_view>

#include "ChessBoard.h"
#include "MoveGenerator.h"

namespace fuzzing {

namespace {

using pontax::ChessBoard;
using pontax::MoveRecord;

class LineReader {
public:
    explicit LineReader(int fd) : fd_(fd) {}

    std::optional<std::string> Next() {
        while (true) {
            if (auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            char chunk[4096];
            ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return std::nullopt;
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }

private:
    int fd_;
    std::string buffer_;
};

class Engine {
public:
    Engine(int output, const EngineScript& script) : output_(output), script_(script) { NewGame(); }

    // False when the engine is to end.
    bool Handle(const std::string& line) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        std::string rest;
        std::getline(words, rest);
        if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        if (editing_) return Edit(command), true;
        if (command == "quit") return false;
        if (command == "protover") {
            for (const auto& text : script_.greeting) Write(text);
            Write("feature ping=1 setboard=1 usermove=1 analyze=1 myname=\"Scripted\" done=1");
        } else if (command == "ping") {
            Write("pong " + rest);
        } else if (command == "new") {
            NewGame();
        } else if (command == "force") {
            force_ = true;
            movePending_ = false;
        } else if (command == "go") {
            force_ = false;
            StartSearch();
        } else if (command == "?") {
            if (movePending_) PlayMove();
        } else if (command == "setboard") {
            startFen_ = rest;
            moves_.clear();
            Replay();
        } else if (command == "edit") {
            editing_ = true;
            editColour_ = pontax::kWhite;
        } else if (command == "undo" || command == "remove") {
            for (int n = command == "undo" ? 1 : 2; n > 0 && !moves_.empty(); --n) moves_.pop_back();
            Replay();
        } else if (command == "analyze") {
            analysing_ = true;
            Think();
        } else if (command == "exit") {
            analysing_ = false;
        } else if (command == "." && analysing_) {
            Write("stat01: 10 200 2 5 20 " + FirstMoveText());
        } else if (command == "usermove") {
            UserMove(rest);
        } else if (!board_.ParseSan(command).IsEmpty()) {
            UserMove(command);
        }
        return true;
    }

    // The end of the input finishes a search that waited for "?".
    void Finish() {
        if (movePending_) PlayMove();
    }

private:
    void Write(std::string text) {
        text += '\n';
        std::string_view rest = text;
        while (!rest.empty()) {
            ssize_t n = ::write(output_, rest.data(), rest.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;
            rest.remove_prefix(static_cast<size_t>(n));
        }
    }

    void NewGame() {
        startFen_ = std::string(ChessBoard::kStartFen);
        moves_.clear();
        force_ = false;
        analysing_ = false;
        movePending_ = false;
        Replay();
    }

    void Replay() {
        board_ = ChessBoard();
        board_.SetFen(startFen_);
        for (const auto& text : moves_) {
            MoveRecord move = board_.ParseSan(text);
            if (!move.IsEmpty()) board_.MakeMove(move, true);
        }
    }

    void UserMove(const std::string& text) {
        MoveRecord move = board_.ParseSan(text);
        if (move.IsEmpty()) return Write("Illegal move: " + text);
        moves_.push_back(pontax::MoveToCoordinate(move));
        board_.MakeMove(move, true);
        if (analysing_)
            Think();
        else if (!force_)
            StartSearch();
    }

    // The legal move the engine plays, or nullopt when the game is over.
    std::optional<MoveRecord> FirstMove() const {
        pontax::MoveList list;
        pontax::MoveGenerator().GenerateLegal(board_, list);
        if (list.count == 0) return std::nullopt;
        return list.moves[0];
    }

    std::string FirstMoveText() const {
        auto move = FirstMove();
        return move ? pontax::MoveToCoordinate(*move) : std::string();
    }

    void Think() {
        for (const auto& text : script_.onSearch) Write(text);
        if (auto move = FirstMove()) Write("1 12 0 100 " + pontax::MoveToCoordinate(*move));
    }

    void StartSearch() {
        Think();
        movePending_ = true;
        if (!script_.waitForMoveNow) PlayMove();
    }

    void PlayMove() {
        movePending_ = false;
        auto move = FirstMove();
        if (!move) {
            bool mated = pontax::MoveGenerator().InCheck(board_, board_.sideToMove);
            return Write(!mated                                ? "1/2-1/2 {stalemate}"
                         : board_.sideToMove == pontax::kWhite ? "0-1 {mate}"
                                                               : "1-0 {mate}");
        }
        std::string text = pontax::MoveToCoordinate(*move);
        moves_.push_back(text);
        board_.MakeMove(*move, true);
        Write("move " + text);
    }

    // One command of edit mode: "#" empties the board, "c" changes colour, "." ends; anything else
    // places a piece ("Pe4") or clears a square ("xe4").
    void Edit(const std::string& command) {
        if (command == ".") {
            editing_ = false;
            board_.castlingRights = CastlingFromPieces();
            board_.enPassantSquare = pontax::kNoSquare;
            startFen_ = board_.GetFen();
            moves_.clear();
        } else if (command == "#") {
            int side = board_.sideToMove;
            board_.Clear();
            board_.sideToMove = side;
        } else if (command == "c") {
            editColour_ = 1 - editColour_;
        } else if (command.size() == 3 && command[1] >= 'a' && command[1] <= 'h' && command[2] >= '1' &&
                   command[2] <= '8') {
            int square = pontax::SquareOf(command[1] - 'a', command[2] - '1');
            int type = command[0] == 'x' ? 0 : pontax::PieceType(board_.PieceFromLetter(command[0]));
            board_.SetSquare(square, type == 0 ? 0 : pontax::MakePiece(type, editColour_));
        }
    }

    int CastlingFromPieces() const {
        using namespace pontax;
        auto has = [&](int file, int rank, int type, int side) {
            return board_.At(SquareOf(file, rank)) == MakePiece(type, side);
        };
        int rights = 0;
        if (has(4, 0, piece::kKing, kWhite)) {
            if (has(7, 0, piece::kRook, kWhite)) rights |= castling::kWhiteKingSide;
            if (has(0, 0, piece::kRook, kWhite)) rights |= castling::kWhiteQueenSide;
        }
        if (has(4, 7, piece::kKing, kBlack)) {
            if (has(7, 7, piece::kRook, kBlack)) rights |= castling::kBlackKingSide;
            if (has(0, 7, piece::kRook, kBlack)) rights |= castling::kBlackQueenSide;
        }
        return rights;
    }

    int output_;
    const EngineScript& script_;
    ChessBoard board_;
    std::string startFen_;
    std::vector<std::string> moves_;
    bool force_ = false;
    bool analysing_ = false;
    bool movePending_ = false;
    bool editing_ = false;
    int editColour_ = pontax::kWhite;
};

}  // namespace

void RunScriptedEngine(int input, int output, const EngineScript& script,
                       std::vector<std::string>* received) {
    LineReader reader(input);
    Engine engine(output, script);
    while (auto line = reader.Next()) {
        if (received) received->push_back(*line);
        if (!engine.Handle(*line)) return;
    }
    engine.Finish();
}

}  // namespace fuzzing
