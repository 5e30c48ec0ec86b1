PROGRAM Rechner;
{ Ein kleiner Taschenrechner: liest Befehle, bis 0 kommt. }

VAR
  Befehl, a, b, Ergebnis: Integer;
  Meldung: String;

Begin
  Meldung := 'Befehle: 1 = plus; 2 = minus; 3..4 = mal/durch; begin end if';
  WriteLn(Meldung);
  Repeat
    ReadLn(Befehl);
    IF Befehl <> 0 THEN
    BEGIN
      ReadLn(a, b);
      CASE Befehl OF
        1: Ergebnis := a + b;
        2: Ergebnis := a - b;
        3, 4:
          if (Befehl = 4) And (b <> 0) then
            Ergebnis := a Div b
          else If Befehl = 3 then Ergebnis := a * b
          ELSE
            Ergebnis := 0;
        5..7, 9: Ergebnis := a Mod 7; { Rest }
      Else
        WriteLn('unbekannt: ', Befehl);
        Ergebnis := -1
      End;
      WriteLn('= ', Ergebnis:6)  (* mit Breite *)
    END
  Until Befehl = 0;
  WriteLn('Ende; end.')
End.
