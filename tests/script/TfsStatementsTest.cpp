#include "script/TfsStatements.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/SysUtils.h"
#include "tests/script/ScriptBuild.h"

using namespace scriptbuild;

namespace {

class StatementsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeclareBasicTypes(s);
    s.DeclareFunction("procedure Log(v: Variant)",
                      [this](TObject*, TClass, const std::string&, Variant& p) -> Variant {
                        log += VarToStr(VarArrayGet(p, {0})) + " ";
                        return Null();
                      });
    s.DeclareFunction("procedure Fail(v: Variant)",
                      [](TObject*, TClass, const std::string&, Variant& p) -> Variant {
                        throw Exception(VarToStr(VarArrayGet(p, {0})));
                      });
    i = AddVar(s, "i", "Integer", fvtInt, 0);
  }

  // Log(tokens) as a statement of script sc.
  TfsStatement* Log(TfsScript& sc, std::initializer_list<Token> value) {
    return Call(sc, Dsgn(sc, {{s.LookupName("Log"), {ExprP(sc, value)}}}));
  }
  TfsStatement* Fail(TfsScript& sc) {
    return Call(sc, Dsgn(sc, {{s.LookupName("Fail"), {ExprP(sc, {std::string("boom")})}}}));
  }
  template <typename T>
  T* Flow(TfsScript& sc) {
    return new T(&sc, "1:1", "");
  }
  TfsIfStmt* If(TfsScript& sc, std::initializer_list<Token> test, TfsStatement* then) {
    auto* st = new TfsIfStmt(&sc, "1:1", "");
    st->Test = Expr(sc, test);
    st->Add(then);
    return st;
  }
  // i := i + 1
  TfsStatement* Step(TfsScript& sc) { return Assign(sc, i, {Var(sc, i), Op{"+"}, 1}); }
  void Run() {
    log.clear();
    s.RunMainBlock();
  }

  TfsScript s{nullptr};
  std::string log;
  TfsVariable* i = nullptr;
};

TEST_F(StatementsTest, AssignmentsCallsAndSteps) {
  TfsVariable* x = AddVar(s, "x", "Extended", fvtFloat, 10.0);
  struct Case {
    TfsAssignmentStmt* st;
    double expected;
  };
  auto compound = [&](TfsAssignmentStmt* st, Variant e) {
    st->SetParts(Dsgn(s, {{x}}), Expr(s, {e}));
    return st;
  };
  const Case cases[] = {
      {compound(new TfsAssignPlusStmt(&s, "1:1", ""), 5), 15},
      {compound(new TfsAssignMinusStmt(&s, "1:1", ""), 3), 12},
      {compound(new TfsAssignMulStmt(&s, "1:1", ""), 2), 24},
      {compound(new TfsAssignDivStmt(&s, "1:1", ""), 16), 1.5},
      {Assign(s, x, {2, Op{"*"}, 4}), 8},
  };
  for (const Case& c : cases) {
    s.MainBlock->Clear();
    s.MainBlock->Add(c.st);
    Run();
    EXPECT_EQ(x->GetValue().AsDouble(), c.expected);
  }
  s.MainBlock->Clear();
  auto* inc = Call(s, Dsgn(s, {{i}}));
  inc->StepSign = "+";
  auto* dec = Call(s, Dsgn(s, {{x}}));
  dec->StepSign = "-";
  s.MainBlock->Add(inc);
  s.MainBlock->Add(Log(s, {Var(s, i)}));
  s.MainBlock->Add(dec);
  Run();
  EXPECT_EQ(i->GetValue(), 1);
  EXPECT_EQ(x->GetValue().AsDouble(), 7);
  EXPECT_EQ(log, "1 ");
}

TEST_F(StatementsTest, BranchesAndCases) {
  // while i < 6 do begin i := i + 1;
  //   case i of 1: Log('one'); 2..3: continue; 5: break else Log(i) end end
  auto* loop = Flow<TfsWhileStmt>(s);
  loop->Test = Expr(s, {Var(s, i), Op{"<"}, 6});
  loop->Add(Step(s));
  auto* cs = Flow<TfsCaseStmt>(s);
  cs->Selector = Expr(s, {Var(s, i)});
  auto selector = [&](std::initializer_list<int> labels, bool range, TfsStatement* body) {
    auto* sel = Flow<TfsCaseSelector>(s);
    sel->Labels = std::make_unique<TfsSetExpression>();
    for (int l : labels) {
      sel->Labels->AddValue(ExprP(s, {l}));
      if (range && sel->Labels->ItemCount() == 1) sel->Labels->AddRange();
    }
    sel->Add(body);
    return sel;
  };
  cs->Add(selector({1}, false, Log(s, {std::string("one")})));
  cs->Add(selector({2, 3}, true, Flow<TfsContinueStmt>(s)));
  cs->Add(selector({5}, false, Flow<TfsBreakStmt>(s)));
  cs->ElsePart->Add(Log(s, {Var(s, i)}));
  loop->Add(cs);
  loop->Add(Log(s, {std::string("end")}));
  s.MainBlock->Add(loop);
  auto* st = If(s, {Var(s, i), Op{"="}, 5}, Log(s, {std::string("then")}));
  st->ElsePart->Add(Log(s, {std::string("else")}));
  s.MainBlock->Add(st);
  Run();
  EXPECT_EQ(log, "one end 4 end then ");
  EXPECT_FALSE(s.BreakRequested);
  EXPECT_FALSE(s.ContinueRequested);
}

TEST_F(StatementsTest, ForLoopsTakeTheirBoundsOnce) {
  TfsVariable* limit = AddVar(s, "limit", "Integer", fvtInt, 3);
  auto pascalFor = [&](int start, bool down) {
    auto* f = Flow<TfsForStmt>(s);
    f->LoopVariable = i;
    f->StartExpr = Expr(s, {start});
    f->LimitExpr = Expr(s, {Var(s, limit)});
    f->CountsDown = down;
    f->Add(Log(s, {Var(s, i)}));
    f->Add(Assign(s, limit, {10}));  // changing the end changes nothing
    return f;
  };
  struct Case {
    int start, limit;
    bool down;
    const char* visits;
    int after;
  } cases[] = {
      {1, 3, false, "1 2 3 ", 3},
      {3, 1, true, "3 2 1 ", 1},
      {5, 3, false, "", -7},  // no iteration leaves the variable alone
      {3, 5, true, "", -7},
      {4, 4, false, "4 ", 4},
  };
  for (const Case& c : cases) {
    limit->SetValue(c.limit);
    i->SetValue(-7);
    s.MainBlock->Clear();
    s.MainBlock->Add(pascalFor(c.start, c.down));
    Run();
    EXPECT_EQ(log, c.visits) << c.start << ".." << c.limit;
    EXPECT_EQ(i->GetValue(), c.after);
  }

  // For i = 10 To 1 Step -2
  auto* vb = Flow<TfsVbForStmt>(s);
  vb->LoopVariable = i;
  vb->StartExpr = Expr(s, {10});
  vb->LimitExpr = Expr(s, {1});
  vb->StepExpr = Expr(s, {-2});
  vb->Add(Log(s, {Var(s, i)}));
  s.MainBlock->Clear();
  s.MainBlock->Add(vb);
  Run();
  EXPECT_EQ(log, "10 8 6 4 2 ");

  // for (i = 0; i < 5; i++) { if (i == 1) continue; if (i == 3) break; Log(i) }
  auto* cpp = Flow<TfsCppForStmt>(s);
  cpp->InitPart->Add(Assign(s, i, {0}));
  cpp->Test = Expr(s, {Var(s, i), Op{"<"}, 5});
  cpp->NextPart->Add(Step(s));
  cpp->Add(If(s, {Var(s, i), Op{"="}, 1}, Flow<TfsContinueStmt>(s)));
  cpp->Add(If(s, {Var(s, i), Op{"="}, 3}, Flow<TfsBreakStmt>(s)));
  cpp->Add(Log(s, {Var(s, i)}));
  s.MainBlock->Clear();
  s.MainBlock->Add(cpp);
  Run();
  EXPECT_EQ(log, "0 2 ");

  // repeat i := i + 1 until i >= 3, and the do-while form
  for (bool whileForm : {false, true}) {
    auto* rp = Flow<TfsRepeatStmt>(s);
    rp->Add(Step(s));
    rp->Add(Log(s, {Var(s, i)}));
    rp->Test = whileForm ? Expr(s, {Var(s, i), Op{"<"}, 3}) : Expr(s, {Var(s, i), Op{">="}, 3});
    rp->WhileForm = whileForm;
    i->SetValue(0);
    s.MainBlock->Clear();
    s.MainBlock->Add(rp);
    Run();
    EXPECT_EQ(log, "1 2 3 ") << whileForm;
  }
}

TEST_F(StatementsTest, TryStatements) {
  // try Fail except Log('caught') end; Log('after')
  auto* except = Flow<TfsTryStmt>(s);
  except->CatchForm = true;
  except->Add(Fail(s));
  except->Add(Log(s, {std::string("skipped")}));
  except->HandlerPart->Add(Log(s, {std::string("caught")}));
  s.MainBlock->Add(except);
  // try 1 div 0 except Log('div') end: the class library's error is catchable
  auto* division = Flow<TfsTryStmt>(s);
  division->CatchForm = true;
  division->Add(Assign(s, i, {1, Op{"div"}, Var(s, i)}));
  division->HandlerPart->Add(Log(s, {std::string("div")}));
  s.MainBlock->Add(division);
  s.MainBlock->Add(Log(s, {std::string("after")}));
  Run();
  EXPECT_EQ(log, "caught div after ");

  // try Fail finally Log('finally') end: the exception goes on afterwards.
  s.MainBlock->Clear();
  auto* fin = Flow<TfsTryStmt>(s);
  fin->Add(Fail(s));
  fin->HandlerPart->Add(Log(s, {std::string("finally")}));
  s.MainBlock->Add(fin);
  EXPECT_THROW(Run(), Exception);
  EXPECT_EQ(log, "finally ");
  EXPECT_FALSE(s.IsRunning);
}

TEST_F(StatementsTest, FinallyRunsWholeAfterBreakContinueAndExit) {
  // while i < 3 do begin i := i + 1;
  //   try if i = 1 then continue; if i = 2 then break finally Log('f'); Log(i) end;
  //   Log('body') end
  auto* loop = Flow<TfsWhileStmt>(s);
  loop->Test = Expr(s, {Var(s, i), Op{"<"}, 3});
  loop->Add(Step(s));
  auto* tr = Flow<TfsTryStmt>(s);
  tr->Add(If(s, {Var(s, i), Op{"="}, 1}, Flow<TfsContinueStmt>(s)));
  tr->Add(If(s, {Var(s, i), Op{"="}, 2}, Flow<TfsBreakStmt>(s)));
  tr->HandlerPart->Add(Log(s, {std::string("f")}));
  tr->HandlerPart->Add(Log(s, {Var(s, i)}));
  loop->Add(tr);
  loop->Add(Log(s, {std::string("body")}));
  s.MainBlock->Add(loop);
  s.MainBlock->Add(Log(s, {std::string("done")}));
  Run();
  EXPECT_EQ(log, "f 1 f 2 done ");

  // procedure P; begin try exit finally Log('f') end; Log('not reached') end
  auto* p = new TfsProcVariable("P", false, &s, "", fvtVariant);
  s.AddItem("P", p);
  TfsScript& local = *p->LocalScript;
  auto* ptr = Flow<TfsTryStmt>(local);
  ptr->Add(Flow<TfsExitStmt>(local));
  ptr->HandlerPart->Add(Log(local, {std::string("f")}));
  ptr->HandlerPart->Add(Log(local, {std::string("g")}));
  local.MainBlock->Add(ptr);
  local.MainBlock->Add(Log(local, {std::string("not reached")}));
  s.MainBlock->Clear();
  s.MainBlock->Add(Call(s, Dsgn(s, {{p}})));
  s.MainBlock->Add(Log(s, {std::string("back")}));
  Run();
  EXPECT_EQ(log, "f g back ");  // exit leaves the routine only
}

TEST_F(StatementsTest, RunLineAndStopRunning) {
  std::vector<std::string> positions;
  struct Host {
    TfsScript* Script;
    std::vector<std::string>* Positions;
    void OnRunLine(TfsScript*, const std::string&, const std::string& pos) {
      Positions->push_back(pos);
      if (Positions->size() == 6) Script->StopRunning();
    }
  } host{&s, &positions};
  s.OnRunLine = TfsRunLineEvent(&host, &Host::OnRunLine);
  // An endless loop: while true do begin Log(i); i := i + 1 end; Log('after')
  auto* loop = new TfsWhileStmt(&s, "2:1", "");
  loop->Test = Expr(s, {true});
  auto* logI = Log(s, {Var(s, i)});
  logI->SourcePosition = "3:3";
  loop->Add(logI);
  loop->Add(Step(s));
  auto* with = new TfsWithStmt(&s, "9:9", "");
  loop->Add(with);
  with->WithVariable = AddVar(s, "0", "Integer", fvtInt);
  with->WithDesignator = Dsgn(s, {{i}});
  s.MainBlock->Add(loop);
  s.MainBlock->Add(Log(s, {std::string("after")}));
  Run();
  EXPECT_EQ(log, "0 1 ");
  // The with statement announces nothing; the stop came before "after".
  EXPECT_EQ(positions, (std::vector<std::string>{"2:1", "3:3", "1:1", "3:3", "1:1", "3:3"}));
  EXPECT_EQ(with->WithVariable->GetValue(), 2);
  EXPECT_FALSE(s.StopRequested);
  EXPECT_FALSE(s.IsRunning);
}

TEST_F(StatementsTest, DeepRecursionIsAScriptError) {
  // procedure R; begin i := i + 1; R end
  auto* r = new TfsProcVariable("R", false, &s, "", fvtVariant);
  s.AddItem("R", r);
  r->LocalScript->MainBlock->Add(Step(*r->LocalScript));
  r->LocalScript->MainBlock->Add(Call(*r->LocalScript, Dsgn(*r->LocalScript, {{r}})));
  // try R except Log(i) end
  auto* tr = Flow<TfsTryStmt>(s);
  tr->CatchForm = true;
  tr->Add(Call(s, Dsgn(s, {{r}})));
  tr->HandlerPart->Add(Log(s, {Var(s, i)}));
  s.MainBlock->Add(tr);
  Run();
  // The limit is a number of calls or a share of the stack, whichever comes
  // first (an instrumented build uses more stack per call).
  EXPECT_GE(i->GetValue().AsInteger(), 500);
  EXPECT_LE(i->GetValue().AsInteger(), fsMaxCallDepth);
  EXPECT_EQ(log, VarToStr(i->GetValue()) + " ");
  EXPECT_FALSE(r->Running);
  // The depth count is back to zero: a fresh run gets as deep again.
  const Variant reached = i->GetValue();
  i->SetValue(0);
  Run();
  EXPECT_EQ(i->GetValue(), reached);
}

TEST_F(StatementsTest, RoutinesCalledByTheHost) {
  // procedure SetFive(var v: Integer; w: Integer); begin v := 5; Log(w) end
  auto* p = new TfsProcVariable("SetFive", false, &s, "", fvtVariant);
  s.AddItem("SetFive", p);
  auto* v = new TfsParamItem("v", true, false, "Integer", fvtInt);
  auto* w = new TfsParamItem("w", false, false, "Integer", fvtInt);
  p->AddParam(v);
  p->AddParam(w);
  p->LocalScript->MainBlock->Add(Assign(*p->LocalScript, v, {5}));
  p->LocalScript->MainBlock->Add(Log(*p->LocalScript, {Var(*p->LocalScript, w)}));
  Variant args = VarArrayOf({1, 9});
  EXPECT_TRUE(VarIsNull(s.CallRoutineByRef("setfive", args)));
  EXPECT_EQ(VarArrayGet(args, {0}), 5);
  EXPECT_EQ(log, "9 ");
  Variant tooMany = VarArrayOf({1, 2, 3});
  EXPECT_THROW(s.CallRoutine("SetFive", tooMany), EListError);
}

}  // namespace
