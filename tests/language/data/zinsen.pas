program Zinsen;

var
  Kapital, Satz: Real;
  Jahr, Jahre: Integer;

procedure Tabelle(Start: Real; Prozent: Real; Dauer: Integer);
var
  Stand: Real;
  t: Integer;

  procedure Kopf;
  begin
    writeln('Jahr':6, 'Kapital':14);
    writeln('--------------------')
  end;

begin
  Kopf;
  Stand := Start;
  for t := 1 to Dauer do
  begin
    Stand := Stand * (1 + Prozent / 100);
    writeln(t:6, Stand:14:2)
  end
end;

begin
  Kapital := 1000.0;
  Satz := 2.5;
  Jahre := 5;

  // Tabelle
  Tabelle(Kapital, Satz, Jahre);
  // Ende Tabelle

  // Verdopplung
  Jahr := 0;
  repeat
    Kapital := Kapital * (1 + Satz / 100);
    Jahr := Jahr + 1
  until Kapital >= 2000;
  // Ende Verdopplung

  if Jahr < 20 then
    writeln('schnell: ', Jahr, ' Jahre')
  else if Jahr < 40 then
    writeln('mittel: ', Jahr, ' Jahre')
  else
  begin
    writeln('langsam: ', Jahr, ' Jahre');
    writeln(Kapital:0:2)
  end;
end.
